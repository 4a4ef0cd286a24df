// Standard output of the tool with every write checked. A command's output
// that does not arrive (a full disk, a closed descriptor) must not end in a
// status that says all went well. The C library forgets why an early write
// failed once it drops the buffer, so std::cout writes through a buffer here
// that keeps the first error, and the driver asks for it once the command ran.
#pragma once

#include <cstddef>
#include <streambuf>

namespace murmex::tool {

// Puts a descriptor on each of the standard descriptors 0, 1 and 2 that is
// closed, so that no file the tool opens takes its place: what a command
// writes to standard output would otherwise land in that file. A closed
// output is replaced by /dev/null opened for reading, and a closed input by
// /dev/null opened for writing, so that using either still fails as on a
// closed descriptor. On Windows standard input is also switched to binary.
void holdStandardDescriptors();

// While it lives, std::cout writes through it to descriptor 1.
class StandardOutput {
  public:
    StandardOutput();
    ~StandardOutput();
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Flushes std::cout and closes descriptor 1. 0 when everything written
    // arrived, otherwise the errno of the first failure.
    int finish();

  private:
    class Buffer : public std::streambuf {
      public:
        Buffer();
        int error() const { return firstError; }

      protected:
        int_type overflow(int_type byte) override;
        int sync() override;

      private:
        // Writes out what is buffered; false once a write has failed, after
        // which everything is dropped.
        bool drain();

        static constexpr size_t SIZE = 16 * 1024;
        char space[SIZE];
        int firstError = 0;
    };

    Buffer buffer;
    std::streambuf* previous;
};

} // namespace murmex::tool
