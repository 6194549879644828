// Standard input and output through buffers of the program's own. Output
// is written in large pieces: when its buffer is full, when it is flushed,
// and when the program is about to wait for input, which is the one moment
// a user needs to see it. So a session typed ahead or piped in costs one
// write per full buffer, and a prompt is still on the screen before the
// program waits for its answer. Both behave alike on every platform.
#pragma once

#include <atomic>
#include <cstddef>
#include <memory>
#include <streambuf>
#include <string>

#include "io/FileIo.h"
#include "platform/LineEditor.h"
#include "platform/StopHook.h"
#include "platform/System.h"

namespace roster {

// A request to stop that finds the program writing is handed back to its
// StopHook once the write returns, which knows how much went out.
class OutputBuffer final : public std::streambuf, public MarkedOutput {
  public:
    // Writes to the open file `file`, standard output unless told otherwise.
    explicit OutputBuffer(int file = kStandardOutput);
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void mark() override;
    bool writeMarked() override;
    void attach(StopHook* to) override { hook = to; }
    // Writes what is buffered up to its last line break, and hands over the
    // rest: the start of a line that what is typed next will end.
    std::string takeUnfinishedLine();

  protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* data, std::streamsize count) override;
    int sync() override;

  private:
    // Writes the buffer; when it is only full, a UTF-8 character that its
    // end cuts in two waits for the next write.
    bool writeOut(bool whole);

    // Who writes the buffer: nobody, the program, or a request to stop.
    enum Writer { kNobody, kProgram, kStop };

    int file;
    StopHook* hook = nullptr;
    char buffer[1 << 16];
    std::size_t marked = 0;  // bytes at the start of the buffer
    std::size_t sent = 0;    // bytes at the start of the buffer written already
    std::atomic<int> writer{kNobody};
    bool failed = false;  // a write has failed; everything since is lost
};

// Reads standard input, and before each read from the system, when what
// was read before is used up, flushes `output`. With an `editor`, each read
// is a line typed and edited at the terminal, and the unfinished line of
// `output` is its prompt.
class InputBuffer final : public std::streambuf {
  public:
    explicit InputBuffer(OutputBuffer& output, LineEditor* editor = nullptr);
    InputBuffer(const InputBuffer&) = delete;
    InputBuffer& operator=(const InputBuffer&) = delete;

  protected:
    int_type underflow() override;

  private:
    int_type readTyped();

    OutputBuffer& output;
    LineEditor* editor;
    bool ended = false;  // the editor's input has ended, for good
    std::string typed;   // the line the editor read last
    char buffer[1 << 14];
};

// While it lives, std::cin reads through an InputBuffer, and std::cout and
// std::cerr write through OutputBuffers (std::cerr at once, as always); at
// its end the output is flushed. At a terminal, lines are typed through a
// LineEditor.
class StandardStreams {
  public:
    StandardStreams();
    ~StandardStreams();
    StandardStreams(const StandardStreams&) = delete;
    StandardStreams& operator=(const StandardStreams&) = delete;

  private:
    OutputBuffer output;
    OutputBuffer error{kStandardError};
    std::unique_ptr<LineEditor> editor;
    InputBuffer input;
    std::streambuf* previousOutput;
    std::streambuf* previousError;
    std::streambuf* previousInput;
};

}  // namespace roster
