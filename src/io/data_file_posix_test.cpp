#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "blend/bulletin_check.h"
#include "blend/temp_precip_reader.h"
#include "bulletin_text.h"
#include "io/data_file.h"
#include "test_support.h"

// What only a POSIX file system has: FIFOs, sockets, devices under /dev, symbolic links,
// the umask and permission bits.

namespace fs = std::filesystem;

TEST(DataFile, RefusesDevicesPipesAndTheReportReachedThroughALink) {
    ScopedTempDirectory dir;
    ASSERT_EQ(mkfifo("pipe.txt", 0600), 0);  // opening it must not wait for a writer
    // A socket cannot even be opened, yet it is no missing file.
    const int socketFd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, "socket.txt");
    ASSERT_EQ(bind(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    writeFile("gfs.out", "FHR 1 2 3");
    fs::create_symlink("gfs.out", "gfs.txt");
    const struct {
        const char* name;
        std::string told;
    } refusals[] = {
        {"/dev/zero", "The name /dev/zero is not a plain file and cannot be read as data.\n"},
        {"pipe.txt", "The name pipe.txt is not a plain file and cannot be read as data.\n"},
        {"socket.txt", "The name socket.txt is not a plain file and cannot be read as data.\n"},
        {"gfs.txt",
         "The report file gfs.out would overwrite the data file gfs.txt; rename the data file "
         "and try again.\n"},
    };
    for (const auto& refusal : refusals) {
        const OpeningAnswer answer = openDataFileNamed(refusal.name);
        EXPECT_FALSE(answer.opened || answer.descriptorKept) << refusal.name;
        EXPECT_EQ(answer.told, refusal.told) << refusal.name;
    }
    EXPECT_EQ(readFile("gfs.out"), "FHR 1 2 3");
    close(socketFd);
}

// A co-user who can write the folder swaps the file between its opening and the run's
// passes: every pass still reads the file first opened, and none waits on a pipe.
TEST(DataFile, EveryPassReadsTheFileOpenedOnce) {
    ScopedTempDirectory dir;
    const std::vector<TestBulletin> valid = validTestBulletins();
    std::vector<TestBulletin> otherDay = valid;
    otherDay[1].header = testHeader("KHON", "ETA", "12/09/2026", "1200");
    writeFile("bulletins.txt", testBulletinText(valid));
    writeFile("other.txt", testBulletinText(otherDay));
    for (const char* swap : {"pipe", "replaced", "removed"}) {
        DataFile data;
        std::ostringstream messages;
        ASSERT_TRUE(openNamedDataFile(data, "bulletins.txt", messages));
        fs::rename("bulletins.txt", "kept.txt");
        if (std::string(swap) == "pipe") {
            ASSERT_EQ(mkfifo("bulletins.txt", 0600), 0);
        } else if (std::string(swap) == "replaced") {
            fs::copy_file("other.txt", "bulletins.txt");
        }
        BulletinVerdict verdict;
        BulletinFileBounds bounds;
        EXPECT_TRUE(checkBulletinFile(data, verdict, bounds))
            << swap << ": " << explainVerdict(verdict);
        TempPrecipElements eta{};
        TempPrecipElements avn{};
        MrfTempPrecipElements mrf{};
        UnreadRow unread;
        EXPECT_TRUE(readTempPrecipElements(eta, avn, mrf, data, bounds, fixedStationSet(), unread))
            << swap;
        EXPECT_EQ(eta[1][0], testValue(1, 0, 1)) << swap;
        fs::remove("bulletins.txt");
        fs::rename("kept.txt", "bulletins.txt");
    }
}

TEST(DataFile, AValidFileIsOpenedAndCheckedWithOneDescriptorToSpare) {
    ScopedTempDirectory dir;
    writeFile("bulletins.txt", testBulletinText(validTestBulletins()));
    rlimit previous{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &previous), 0);
    // Once with descriptors to spare (a sanitizer opens files of its own the first time it
    // checks a type), then with every descriptor used up but one: the opening and the
    // check need only the data file's.
    for (const bool tight : {false, true}) {
        const int spare = dup(0);
        ASSERT_GE(spare, 0);
        close(spare);
        rlimit limit = previous;
        if (tight) {
            limit.rlim_cur = static_cast<rlim_t>(spare) + 1;
        }
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &limit), 0);
        bool opened = false;
        bool valid = false;
        std::string told;
        {
            std::ostringstream messages;
            DataFile data;
            opened = openNamedDataFile(data, "bulletins.txt", messages);
            BulletinVerdict verdict;
            BulletinFileBounds bounds;
            valid = checkBulletinFile(data, verdict, bounds);
            told = messages.str() + explainVerdict(verdict);
        }
        setrlimit(RLIMIT_NOFILE, &previous);
        EXPECT_TRUE(opened) << tight;
        EXPECT_TRUE(valid) << tight;
        EXPECT_EQ(told, "") << tight;
    }
}

TEST(DataFile, AFileThatCannotBeReadIsNoMissingFile) {
    ScopedTempDirectory dir;
    writeFile("locked.txt", "FHR 1 2 3");
    ASSERT_EQ(chmod("locked.txt", 0), 0);
    ASSERT_EQ(chmod(".", 0755), 0);  // the folder itself stays open to every user
    // Root reads every file: the opening then runs in a child as the user nobody, which
    // root can become, so the denial is seen under CI as well.
    int answer[2];
    ASSERT_EQ(pipe(answer), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(answer[0]);
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(3);
        }
        const std::string told =
            openDataFileNamed("locked.txt").told + '|' + openDataFileNamed("nosuch.txt").told;
        _exit(write(answer[1], told.data(), told.size()) == static_cast<ssize_t>(told.size()) ? 0
                                                                                              : 4);
    }
    close(answer[1]);
    std::string told;
    char block[512];
    for (ssize_t got; (got = read(answer[0], block, sizeof block)) > 0;) {
        told.append(block, static_cast<std::size_t>(got));
    }
    close(answer[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(told,
              "The file locked.txt cannot be read (permission denied).\n|"
              "You entered a file name wich does not exist in the directory.\n");
}
