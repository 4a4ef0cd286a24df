// A failed load is reported from the bytes the load itself read: the file may
// change or vanish afterwards, and the report is still the load's own.
#include "tools/script_io/load_failure_report.h"

#include "support/scrambled.h"
#include "support/scratch_folder.h"
#include "tools/script_io/kept_source.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using namespace murmex::tool;

// Two errors, at lines 7 and 10: the second only a reading past the first finds.
const std::string BROKEN = "MurmexSrcFile\r\nTITLE = \"T\"\r\nCOLOR = \"1\", \"2\", \"3\"\r\n"
                           "TEXTCOLOR = \"4\", \"5\", \"6\"\r\n\"A\" {\r\n"
                           "  { S = \"0\" N = \"0\" Q = \"\" A = \"Hi.\" ACT = \"ACT_NONE\" }\r\n"
                           "  { S = \"0\" N = \"0\" Q = \"a\" A \"x\" ACT = \"ACT_NONE\" }\r\n"
                           "}\r\n\"B\" {\r\n  { S = \"0\" N \"0\" }\r\n}\r\n";

TEST(LoadFailureReport, ComesFromTheBytesTheLoadRead) {
    const murmex::testing::ScratchFolder folder;
    for (const bool plain : {true, false}) {
        const std::string path =
            folder.write("broken.chr", plain ? BROKEN : murmex::testing::scrambled(BROKEN));
        const LoadedScript loaded = loadScript(path, plain);
        ASSERT_FALSE(loaded.ok());
        std::ostringstream before;
        reportLoadFailure(path, plain, loaded, before);
        folder.write("broken.chr", "gone");
        std::ostringstream after;
        reportLoadFailure(path, plain, loaded, after);
        EXPECT_EQ(after.str(), before.str());
        EXPECT_NE(after.str().find("> 7 |   { S = \"0\" N = \"0\" Q = \"a\" A \"x\""),
                  std::string::npos)
            << after.str();
        EXPECT_NE(after.str().find(":10: error -3"), std::string::npos) << after.str();
        EXPECT_EQ(loadErrorsJson(plain, loaded).size(), 2u);
    }
}

// A source that fails after its first bytes, or is larger than what may be kept,
// leaves nothing behind: a script cut short must not pass for the whole of it.
class FailingSource final : public murmex::ScriptSource {
  public:
    bool startPass() noexcept override {
        served = false;
        return true;
    }
    size_t read(uint8_t* into, size_t capacity) noexcept override {
        if (served || capacity == 0) {
            broken = true;
            return 0;
        }
        served = true;
        into[0] = 'M';
        return 1;
    }
    bool failed() const noexcept override { return broken; }

  private:
    bool served = false;
    bool broken = false;
};

TEST(KeptSource, KeepsOnlyWholeSources) {
    FailingSource failing;
    KeptSource keptFailing(failing, 100);
    uint8_t byte = 0;
    keptFailing.startPass();
    keptFailing.read(&byte, 1);
    keptFailing.endPass();
    EXPECT_EQ(keptFailing.take(), "");

    murmex::MemorySource large(BROKEN.data(), BROKEN.size());
    KeptSource keptLarge(large, BROKEN.size() - 1);
    keptLarge.startPass();
    keptLarge.endPass();
    EXPECT_EQ(keptLarge.take(), "");

    murmex::MemorySource fits(BROKEN.data(), BROKEN.size());
    KeptSource keptFits(fits, BROKEN.size());
    keptFits.startPass();
    keptFits.read(&byte, 1);
    keptFits.endPass();
    EXPECT_EQ(keptFits.take(), BROKEN);
}

} // namespace
