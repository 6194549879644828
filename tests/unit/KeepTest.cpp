#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "console/Commands.h"
#include "io/SafeWrite.h"
#include "keep/KeptFile.h"
#include "tests/unit/FakeSystem.h"

namespace roster {
namespace {

const Person kSmith("Smith, John", 25, 70, 180, 3.5, "Math", 1);
const Person kOurSmith("Smith, John", 25, 70, 180, 3.5, "Math", 10);  // as the session edits him
const Person kTheirSmith("Smith, John", 25, 70, 180, 3.5, "Math", 20);
const Person kDoe("Doe, Jane", 22, 65, 130, 2.8, "Art", 2);
const Person kLee("Lee, Bo", 30, 60, 150, 3.0, "Law", 3);

// A folder of the test's own, empty, with its path ending in a separator.
std::string emptyFolder(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(testing::TempDir()) / name;
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return (folder / "").string();
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void write(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string listed(const std::string& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    std::string all;
    std::for_each(names.begin(), names.end(), [&](const std::string& name) { all += name + ' '; });
    return all;
}

// Every choice a save can make. The file holds Smith and Doe; the session
// gives Smith another net worth, then something happens before it leaves.
TEST(KeptFileTest, EveryChoiceASaveCanMake) {
    using Where = KeptFile::Where;
    const std::string ours = rosterBytes({kOurSmith, kDoe});
    const std::string base = rosterBytes({kSmith, kDoe});
    const std::string turn = std::string(kProgramName) + " 4242 " + os().hostName();
    const std::string temporary = ".team.txt." + std::to_string(os().processId()) + "-";
    struct Case {
        const char* what;
        std::function<void(FakeSystem&, const std::string& folder)> meanwhile;
        Where where;
        std::string file;    // what the file holds afterwards
        std::string beside;  // what team.txt.1 holds
    };
    const Case cases[] = {
        {"saved", [](FakeSystem&, const std::string&) {}, Where::File, ours, ""},
        {"merged",
         [](FakeSystem&, const std::string& folder) {
             write(folder + "team.txt", rosterBytes({kSmith, kDoe, kLee}));
         },
         Where::Merged, rosterBytes({kOurSmith, kDoe, kLee}), ""},
        {"beside, changed",
         [](FakeSystem&, const std::string& folder) {
             write(folder + "team.txt", rosterBytes({kTheirSmith, kDoe}));
         },
         Where::Changed, rosterBytes({kTheirSmith, kDoe}), ours},
        {"beside, held open by another program",
         [](FakeSystem& fake, const std::string&) {
             fake.refuse(FakeSystem::Rename, "team.txt", 0, 99);
         },
         Where::InUse, base, ours},
        {"beside, on a file system without a second name for a file",
         [](FakeSystem& fake, const std::string& folder) {
             fake.refuse(FakeSystem::Publish, "team.txt.1", EPERM);
             write(folder + "team.txt", rosterBytes({kTheirSmith, kDoe}));
         },
         Where::Changed, rosterBytes({kTheirSmith, kDoe}), ours},
        {"beside, its turn held by a session that goes on",
         [&](FakeSystem& fake, const std::string& folder) {
             fake.running.insert(4242);
             write(folder + ".team.txt.saving", turn);
         },
         Where::InUse, base, ours},
        {"failed, no space",
         [&](FakeSystem& fake, const std::string&) {
             fake.refuse(FakeSystem::Write, temporary, ENOSPC, 99);
         },
         Where::Failed, base, ""},
        {"a left-over turn cleared away",
         [&](FakeSystem&, const std::string& folder) { write(folder + ".team.txt.saving", turn); },
         Where::File, ours, ""},
        {"a live turn waited for",
         [&](FakeSystem& fake, const std::string& folder) {
             fake.running.insert(4242);
             write(folder + ".team.txt.saving", turn);
             fake.paused = [&fake, folder](long long now) {
                 if (now >= 1000 && fake.running.erase(4242) != 0) {
                     os().remove((folder + ".team.txt.saving").c_str());
                 }
             };
         },
         Where::File, ours, ""},
        {"a file held for a moment, tried again",
         [](FakeSystem& fake, const std::string&) {
             fake.refuse(FakeSystem::Rename, "team.txt", 0, 3);
         },
         Where::File, ours, ""},
    };
    for (const Case& c : cases) {
        const std::string folder = emptyFolder("keep");
        write(folder + "team.txt", base);
        FakeSystem fake;
        KeptFile kept(folder + "team.txt");
        std::vector<Person> persons;
        std::optional<Problem> problem;
        ASSERT_EQ(kept.load(persons, folder + "outputdata.txt", problem), KeptFile::Start::Loaded);
        persons[0].setNetworth(10);
        kept.note(persons, nullptr);
        c.meanwhile(fake, folder);
        const KeptFile::Saving saving = kept.save(persons);
        EXPECT_EQ(saving.where, c.where) << c.what;
        EXPECT_EQ(contents(folder + "team.txt"), c.file) << c.what;
        EXPECT_EQ(contents(folder + "team.txt.1"), c.beside) << c.what;
        EXPECT_EQ(listed(folder), std::string(fake.running.empty() ? "" : ".team.txt.saving ") +
                                      "team.txt " + (c.beside.empty() ? "" : "team.txt.1 "))
            << c.what;
        EXPECT_LT(fake.now, c.where == Where::File ? 2000 : 6000) << c.what;
    }
}

// A report that cannot be saved leaves the one before it as it was, and
// nothing beside it, whichever step fails; a device is written directly.
TEST(SafeWriteTest, AFailedSaveLeavesTheFileAsItWas) {
    using Failure = std::function<void(FakeSystem&, const std::string& path)>;
    const Failure failures[] = {
        [](FakeSystem& fake, const std::string&) {
            fake.refuse(FakeSystem::Create, "rep", ENOSPC);
        },
        [](FakeSystem& fake, const std::string&) { fake.refuse(FakeSystem::Write, "rep", ENOSPC); },
        [](FakeSystem& fake, const std::string&) {
            fake.writes = [&fake](int file, const char* data, std::size_t size) {
                return fake.System::writeOnce(file, data, std::min<std::size_t>(size, 4096));
            };
            fake.refuse(FakeSystem::Write, "rep", EFBIG, 1, 1);  // the second piece
        },
        [](FakeSystem& fake, const std::string&) { fake.refuse(FakeSystem::Flush, "rep", EIO); },
        [](FakeSystem& fake, const std::string&) { fake.refuse(FakeSystem::Close, "rep", EIO); },
        [](FakeSystem& fake, const std::string&) { fake.refuse(FakeSystem::Rename, "rep", EIO); },
        [](FakeSystem& fake, const std::string& path) {  // a device that is always full
            fake.devices.insert(path);
            fake.refuse(FakeSystem::Write, "rep", ENOSPC);
        },
    };
    const std::string report(10000, 'x');
    for (std::size_t i = 0; i < std::size(failures); ++i) {
        const std::string folder = emptyFolder("safe-write");
        const std::string path = folder + "report.txt";
        write(path, "the report before");
        FakeSystem fake;
        failures[i](fake, path);
        EXPECT_EQ(replaceFile(path.c_str(), Bytes(report.data(), report.size())), Saved::Failed)
            << "failure " << i;
        EXPECT_TRUE(contents(path) == "the report before" || fake.devices.count(path) != 0)
            << "failure " << i;
        EXPECT_EQ(listed(folder), "report.txt ") << "failure " << i;
    }
}

// A session whose roster cannot be saved keeps its menu after X, and ends
// with status 1 when input ends, the file as it was.
TEST(KeptFileTest, ASaveThatFailsKeepsTheSessionGoing) {
    const std::string folder = emptyFolder("keep-fails");
    write(folder + "team.txt", rosterBytes({kSmith}));
    FakeSystem fake;
    fake.refuse(FakeSystem::Write, ".team.txt." + std::to_string(os().processId()) + "-", ENOSPC,
                99);
    std::istringstream in("E\nSmith\n6\n5\nX\n");
    std::ostringstream out;
    Session session(in, out);
    session.reportPath = folder + "outputdata.txt";
    std::ostringstream err;
    ASSERT_TRUE(keepRoster(session, folder + "team.txt", err));
    EXPECT_EQ(runMenu(session), 1);
    // Once after X, with the menu back, and once as input ends.
    const std::string said = out.str();
    const std::string failed = "The roster could not be saved to " + folder + "team.txt\n";
    const std::size_t first = said.find(failed + "MENU:");
    EXPECT_TRUE(first != std::string::npos && said.rfind(failed) == said.size() - failed.size())
        << said;
    EXPECT_EQ(contents(folder + "team.txt"), rosterBytes({kSmith}));
}

}  // namespace
}  // namespace roster
