// The two-pass loader behind ConversationEngine::load and Script::load: it
// reads a script from a source into a model, through the model's builder.
// The measuring pass checks everything it can and counts the bytes of the
// texts; the pool is then allocated with exactly that size; the filling pass
// reads the source again, creates the records and copies the texts. Both
// passes run the same code, switched by one flag, `measuring`.
//
// The recovering scan of scanScript reads with the same code as a filling
// pass that builds nothing: it converts numbers and counts characters and
// units, and where a load would stop at a bad number or a limit passed, it
// tells the error and reads on.
#pragma once

#include "loader/load_state.h"
#include "loader/script_builder.h"
#include "loader/script_fields.h"
#include "loader/script_reader.h"
#include "murmex/script_model.h"
#include "murmex/script_syntax.h"

#include <cstdint>

namespace murmex {

// Where a scan starts reading: at the first line, at the header (after a
// first line that failed), at a line that opens a talk unit (inside a block
// whose start it has not read), or at a line that opens a character block.
enum class ScanStart { Script, Header, Unit, Character };

// Where and why a scan's part stopped at an error.
struct ScanStop {
    int32_t line = 0;
    LoadCause cause = LoadCause::None;
};

class ScriptLoader {
  public:
    // Reads `bytes`, descrambled when asked, into the builder's model.
    ScriptLoader(ScriptBuilder& builder, ScriptSource& bytes, bool descrambles)
        : target(builder), source(bytes), descramble(descrambles) {}
    ScriptLoader(const ScriptLoader&) = delete;
    ScriptLoader& operator=(const ScriptLoader&) = delete;

    // Both passes, into a model that holds no script yet.
    LoadResult load();
    // Tells the listener what the filling pass reads and the error that
    // ends the load. Not owned; null tells nobody.
    void tell(SyntaxListener* syntaxListener) { listener = syntaxListener; }
    // Reads the source, plain text that stands at `offset` of a whole
    // text and starts on `line`, as a pass would that started at `start`,
    // telling the listener. The code of its first error, which is told, or
    // READ_END; `stop` says where the error stands and why.
    int32_t scan(uint32_t offset, int32_t line, ScanStart start, uint8_t* chunk, size_t chunkSize,
                 char* valueSpace, ScanStop& stop);

  private:
    // One pass over the source: the measuring pass, or the filling one.
    int32_t runPass(bool measures, uint8_t* chunk);
    // The script from its first line to the end of the source.
    int32_t readScript(ScriptReader& reader);
    // Names and their blocks up to the end of the source.
    int32_t readCharacters(ScriptReader& reader);
    // Filling pass: the pass's result, or LOAD_MEMORY with the file-changed
    // message when its bytes were not the measuring pass's.
    int32_t checkSameBytes(ScriptReader& reader, int32_t result);
    int32_t readHeader(ScriptReader& reader);
    int32_t readCharacterBlock(ScriptReader& reader);
    // The talk units of a block whose '{' has been read, up to its '}'.
    // `character` is the record that receives them; null when none is built.
    int32_t readBlockBody(ScriptReader& reader, Character* character);
    int32_t readColor(ScriptReader& reader, ScriptField field, Rgb& color);
    int32_t readComponent(ScriptReader& reader, ScriptField field, uint8_t component, uint8_t& out,
                          const SyntaxSpan& keyword);
    // A field through the table, told to the listener when one listens.
    int32_t readFieldOf(ScriptReader& reader, ScriptField which, char* buffer,
                        ValueUse use = ValueUse::Copied) {
        if (telling()) {
            return readFieldTelling(reader, which, buffer, use);
        }
        const int32_t result = readField(reader, scriptField(which), buffer, use);
        return result == READ_OK ? result : failedIn(which, result);
    }
    int32_t readFieldTelling(ScriptReader& reader, ScriptField which, char* buffer, ValueUse use);
    int32_t readTalkUnit(ScriptReader& reader, TalkUnit& unit);
    int32_t readCondition(ScriptReader& reader, Condition& condition);
    // A template, so that each field's letter, limit and messages are
    // constants where a unit's fields are read.
    template <ScriptField Which> int32_t readNumberField(ScriptReader& reader, int32_t& value);
    // Measuring pass: adds the text's size to the pool's. Filling pass:
    // copies it into the pool and points `pooled` at the copy.
    int32_t poolText(const char* text, int32_t length, const char*& pooled);
    // The filling pass builds records and pools texts; it and a scan convert
    // numbers and enforce the counts of characters and units.
    bool builds() const { return !measuring && !recovering; }
    bool checksValues() const { return !measuring; }
    // The pass that tells the listener what it reads: the filling pass, so
    // that a load tells of the records it makes, or a scan.
    bool telling() const { return listener != nullptr && !measuring; }
    void tellOpen(ScriptBlock block, uint32_t at, int32_t line);
    void tellClose(ScriptBlock block, uint32_t at, int32_t line);
    void tellError(int32_t code, const LoadDetail& detail, bool readsOn = false);
    // Note where a failure arose, for the error told: only there, so that
    // reading costs nothing for it. Both return `code`.
    int32_t failedIn(ScriptField which, int32_t code) {
        where = {fieldBlock(which), true, which};
        return code;
    }
    // A value that is no number: the load fails, a scan tells it and reads
    // on, since the value itself is whole.
    int32_t badNumber(ScriptReader& reader, ScriptField which);
    // A failure of a whole part, a bad number or a limit passed: a load
    // returns `code`, a scan tells it and reads on (READ_OK). Besides
    // building nothing (builds()), this is all a scan does differently from
    // a filling pass.
    int32_t recover(ScriptReader& reader, int32_t code);
    int32_t failedIn(ScriptBlock which, int32_t code) {
        where = {which, false, ScriptField::Title};
        return code;
    }
    // Fails the load with a fixed message and a cause.
    int32_t fail(int32_t code, const char* message, LoadCause cause, int32_t number = 0);
    // Fails the pass whatever it noted before.
    int32_t failWith(int32_t code, const char* message, LoadCause cause);

    ScriptBuilder& target;
    ScriptSource& source;
    bool descramble;
    LoadState state;
    // The pass: true while measuring, false while filling or scanning.
    bool measuring = true;
    // Set for a scan: it builds nothing and reads on past bad numbers and
    // limits (recover).
    bool recovering = false;
    // TEXT_LIMIT bytes on the heap that one value at a time is read into:
    // each is used up before the next is read.
    char* valueBuffer = nullptr;
    // Set by a measuring pass whose texts would need more than the largest
    // signed 32-bit count of bytes; the load then fails like an allocation.
    bool poolTooLarge = false;
    // The bytes the measuring pass read; the filling pass must read the same.
    SourceFingerprint measured;
    SyntaxListener* listener = nullptr;
    // Where the failure arose, for the error told to a listener.
    struct Where {
        ScriptBlock block = ScriptBlock::Header;
        bool inField = false;
        ScriptField field = ScriptField::Title;
    } where;
    // Characters this pass or scan has read, for the limit: a filling pass
    // has made exactly as many.
    int32_t charactersRead = 0;
    // Bad numbers and limits a scan told and read on past.
    int32_t toldNumbers = 0;

  public:
    int32_t numbersTold() const { return toldNumbers; }
};

// Loads the source into the builder's model, which holds no script yet,
// descrambled when asked. When `lines` is given, the filling pass notes there
// the line of every character and unit it creates; a listener hears what the
// filling pass reads. Either may be null.
LoadResult loadModel(ScriptBuilder& target, ScriptSource& source, bool descramble,
                     ScriptLines* lines, SyntaxListener* listener);

} // namespace murmex
