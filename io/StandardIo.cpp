#include "io/StandardIo.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "base/Unicode.h"
#include "io/FileIo.h"
#include "platform/System.h"

namespace roster {

OutputBuffer::OutputBuffer(int to) : file(to) {
    setp(buffer, buffer + sizeof buffer);
}

void OutputBuffer::mark() {
    marked = static_cast<std::size_t>(pptr() - pbase());
}

bool OutputBuffer::writeMarked() {
    int nobody = kNobody;
    if (!writer.compare_exchange_strong(nobody, kStop) && nobody != kStop) {
        return false;
    }
    if (!failed && marked > sent) {
        writeAvailable(file, buffer + sent, marked - sent);
    }
    return true;
}

// Once a write has failed, what follows is dropped, as the system's own
// buffered streams drop it, and every flush reports the failure. A request
// to stop is never held back by a write that waits for a reader: it finds
// the program writing, and once the write returns, cut short by the
// request, the program knows how far it got and finishes the stop itself.
bool OutputBuffer::writeOut(bool whole) {
    int nobody = kNobody;
    if (!writer.compare_exchange_strong(nobody, kProgram)) {
        // Only a stop takes the buffer over, and it has the rest.
        if (hook != nullptr) {
            hook->finish();
        }
        return false;
    }
    // A request that came meanwhile was left to this write.
    const auto handOverToStop = [this] {
        if (hook != nullptr && hook->deferred()) {
            writer = kStop;
            hook->finish();
        }
    };
    const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
    const std::size_t end = size - (whole ? 0 : cutCharacter({buffer + sent, size - sent}));
    while (!failed && sent < end) {
        const long written = os().writeOnce(file, buffer + sent, end - sent);
        if (written > 0) {
            sent += static_cast<std::size_t>(written);
        }
        failed = written == 0 || (written < 0 && errno != EINTR);
        handOverToStop();
    }
    std::memmove(buffer, buffer + end, size - end);
    marked = marked > end ? marked - end : 0;
    sent = 0;
    setp(buffer, buffer + sizeof buffer);
    pbump(static_cast<int>(size - end));
    writer = kNobody;
    handOverToStop();
    return !failed;
}

OutputBuffer::int_type OutputBuffer::overflow(int_type c) {
    if (!writeOut(false)) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

std::streamsize OutputBuffer::xsputn(const char* data, std::streamsize count) {
    std::streamsize done = 0;
    while (done < count) {
        if (pptr() == epptr() && !writeOut(false)) {
            break;
        }
        const std::streamsize room = epptr() - pptr();
        const std::streamsize size = count - done < room ? count - done : room;
        std::memcpy(pptr(), data + done, static_cast<std::size_t>(size));
        pbump(static_cast<int>(size));
        done += size;
    }
    return done;
}

int OutputBuffer::sync() {
    return writeOut(true) ? 0 : -1;
}

std::string OutputBuffer::takeUnfinishedLine() {
    char* const end = pptr();
    char* start = end;
    while (start > pbase() && start[-1] != '\n') {
        --start;
    }
    std::string rest(start, end);
    {
        const StopHold held(hook);
        pbump(-static_cast<int>(end - start));
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        marked = marked < size ? marked : size;
    }
    writeOut(true);
    return rest;
}

InputBuffer::InputBuffer(OutputBuffer& flushFirst, LineEditor* lines)
    : output(flushFirst), editor(lines) {}

InputBuffer::int_type InputBuffer::readTyped() {
    if (ended) {
        return traits_type::eof();
    }
    const std::string prompt = output.takeUnfinishedLine();
    typed.clear();
    if (!editor->readLine(prompt, typed)) {
        // Ctrl-D ended the input on the prompt's line; what the program says
        // next begins a line of its own.
        ended = true;
        output.sputc('\n');
        return traits_type::eof();
    }
    setg(typed.data(), typed.data(), typed.data() + typed.size());
    return traits_type::to_int_type(*gptr());
}

InputBuffer::int_type InputBuffer::underflow() {
    if (editor != nullptr) {
        return readTyped();
    }
    output.pubsync();
    const long got = readSome(kStandardInput, buffer, sizeof buffer);
    if (got <= 0) {
        return traits_type::eof();
    }
    setg(buffer, buffer, buffer + got);
    return traits_type::to_int_type(*gptr());
}

StandardStreams::StandardStreams()
    : editor(LineEditor::forTerminal()),
      input(output, editor.get()),
      previousOutput(std::cout.rdbuf(&output)),
      previousError(std::cerr.rdbuf(&error)),
      previousInput(std::cin.rdbuf(&input)) {
    // The input buffer shows the output when it matters; a stream tied to
    // standard output would flush it before every read.
    std::cin.tie(nullptr);
    // A reader that stops reading (`roster | head`) fails the writes that
    // follow; the session still runs to its end and saves what it was told.
    os().failWritesToClosedPipes();
}

StandardStreams::~StandardStreams() {
    std::cout.flush();
    std::cin.rdbuf(previousInput);
    std::cerr.rdbuf(previousError);
    std::cout.rdbuf(previousOutput);
}

}  // namespace roster
