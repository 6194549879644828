// A system for tests: the real one, but for what a test tells it to do
// otherwise. It refuses a call with the error the test chooses, holds a
// file as another program would, keeps processes of its own running, and
// keeps a clock of its own, so that a wait of seconds takes none. While it
// lives, it is the system in use.
#pragma once

#include <cerrno>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/System.h"

namespace roster {

class FakeSystem final : public System {
  public:
    enum Call { Create, Write, Flush, Close, Rename, Publish };

    FakeSystem() { useSystem(this); }
    ~FakeSystem() override { useSystem(nullptr); }
    FakeSystem(const FakeSystem&) = delete;
    FakeSystem& operator=(const FakeSystem&) = delete;

    // The calls of `call` on a path that holds `part` (for a file, the path
    // it was opened by), after `skip` of them, fail `times` times: with
    // errno `error`, or for a rename with error 0 as another program that
    // holds the file makes it fail (Done::Held); a file system without a
    // second name for a file refuses every publish.
    void refuse(Call call, const std::string& part, int error, int times = 1, int skip = 0) {
        rules.push_back({call, part, error, times, skip});
    }

    std::set<unsigned long> running;        // processes that are alive, besides this one
    std::set<std::string> devices;          // paths that lead to a device
    long long now = 0;                      // the clock, in milliseconds
    std::function<void(long long)> paused;  // called after each pause, with the time
    // Where set, makes each write in place of the system.
    std::function<long(int, const char*, std::size_t)> writes;

    using System::kindOf;
    Kind kindOf(const char* path, int& mode) override {
        return devices.count(path) != 0 ? Kind::Other : System::kindOf(path, mode);
    }
    int createNew(const char* path, int mode) override {
        return opened(path, fails(Create, path) ? -1 : System::createNew(path, mode));
    }
    int openForWriting(const char* path) override {
        return opened(path, fails(Create, path) ? -1 : System::openForWriting(path));
    }
    long writeOnce(int file, const char* data, std::size_t size) override {
        return fails(Write, names[file]) ? -1
               : writes                  ? writes(file, data, size)
                                         : System::writeOnce(file, data, size);
    }
    bool flushToDisk(int file) override {
        return !fails(Flush, names[file]) && System::flushToDisk(file);
    }
    bool closeFile(int file) override {
        const bool refused = fails(Close, names[file]);
        return System::closeFile(file) && !refused;
    }
    Done rename(const char* from, const char* to) override {
        return fails(Rename, to) ? refusal : System::rename(from, to);
    }
    Published publish(const char* from, const char* to) override {
        return fails(Publish, to) ? Published::Failed : System::publish(from, to);
    }
    bool processGone(unsigned long id) override {
        return id != processId() && running.count(id) == 0;
    }
    long long clockMilliseconds() override { return now; }
    void pauseMilliseconds(int milliseconds) override {
        now += milliseconds;
        if (paused) {
            paused(now);
        }
    }

  private:
    struct Rule {
        Call call;
        std::string part;
        int error;
        int times;
        int skip;
    };

    bool fails(Call call, const std::string& path) {
        for (Rule& rule : rules) {
            if (rule.call != call || path.find(rule.part) == std::string::npos || rule.times == 0) {
                continue;
            }
            if (rule.skip > 0) {
                --rule.skip;
                return false;
            }
            --rule.times;
            errno = rule.error;
            refusal = rule.error == 0 ? Done::Held : Done::Failed;
            return true;
        }
        return false;
    }
    int opened(const char* path, int file) {
        names[file] = path;
        return file;
    }

    std::vector<Rule> rules;
    std::map<int, std::string> names;  // the path each open file was opened by
    Done refusal = Done::Failed;
};

}  // namespace roster
