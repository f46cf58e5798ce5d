// What the tests of files share: a folder of the test's own (removed with everything in it
// afterwards) and its files' bytes; and code run in a child process as a plain user or under
// a file size limit, its answer and its peak memory returned after a bounded wait.
#pragma once

#include <dirent.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

// The names in |folder|, sorted.
inline std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> found;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return found;
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") found.push_back(name);
    }
    closedir(dir);
    std::sort(found.begin(), found.end());
    return found;
}

class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/tuvo_files_test.XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        folder = name;
    }
    void TearDown() override {
        const std::string command = "chmod -R u+rwx '" + folder + "' && rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    // The names in |in| (the test's folder when empty), sorted.
    std::vector<std::string> names(const std::string& in = "") { return names_in(in.empty() ? folder : in); }
    std::string path(const char* name) { return folder + "/" + name; }
    void put(const std::string& file, const std::string& bytes) {
        FILE* stream = std::fopen(file.c_str(), "wb");
        ASSERT_NE(stream, nullptr) << file;
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
        std::fclose(stream);
    }
    std::string get(const std::string& file) {
        std::string bytes;
        FILE* stream = std::fopen(file.c_str(), "rb");
        if (!stream) return "(missing)";
        for (int c; (c = std::fgetc(stream)) != EOF;) bytes += static_cast<char>(c);
        std::fclose(stream);
        return bytes;
    }
    // True when this user can open |file| for writing, or create it, whatever the
    // permissions say, as the superuser can.
    bool permissions_ignored(const std::string& file) {
        FILE* stream = std::fopen(file.c_str(), "ab");
        if (!stream) return false;
        std::fclose(stream);
        return true;
    }
    std::string folder;
};

// Gives up, in this thread's effective capabilities, those that let the superuser read and
// write where the permissions say no, so that a test run as root meets them as a user
// does. Nothing changes for a plain user.
inline bool drop_file_privileges() {
    __user_cap_header_struct header = {_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        data[cap / 32].effective &= ~(1u << (cap % 32));
    return syscall(SYS_capset, &header, data) == 0;
}

// How a child process runs.
struct ChildTerms {
    bool plain_user;       // the superuser's power over permissions given up
    long long file_limit;  // the largest file it may write, in bytes; -1 for no limit
    int seconds;           // how long it may take before it is killed
};
constexpr ChildTerms as_user = {true, -1, 30};

struct ChildResult {
    bool ended;       // by itself, in time
    std::string said;  // what its body returned
    long peak_kilobytes;
};

// Waits up to |seconds| for the child |pid| to end: true, with its status and its use of
// the machine, when it did; otherwise it is killed.
inline bool wait_child(pid_t pid, int seconds, int* status, rusage* usage) {
    const timespec tick = {0, 10 * 1000 * 1000};
    for (int ticks = seconds * 100; ticks > 0; --ticks) {
        if (wait4(pid, status, WNOHANG, usage) == pid) return true;
        nanosleep(&tick, nullptr);
    }
    kill(pid, SIGKILL);
    waitpid(pid, status, 0);
    return false;
}

// Runs |body| in a child process, with SIGXFSZ ignored (a write past the limit fails with
// EFBIG), and returns what it said.
inline ChildResult run_child(ChildTerms terms, const std::function<std::string()>& body) {
    int pipe_ends[2];
    if (pipe(pipe_ends) != 0) return {false, "(no pipe)", 0};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipe_ends[0]);
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {rlim_t(terms.file_limit), rlim_t(terms.file_limit)};
        if (terms.file_limit >= 0 && setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(2);
        if (terms.plain_user && !drop_file_privileges()) _exit(3);
        const std::string said = body();
        const bool told = write(pipe_ends[1], said.data(), said.size()) == ssize_t(said.size());
        _exit(told ? 0 : 4);
    }
    close(pipe_ends[1]);
    int status = 0;
    rusage usage = {};
    ChildResult result = {false, "", 0};
    result.ended = wait_child(pid, terms.seconds, &status, &usage) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    char buffer[4096];
    for (ssize_t got; (got = read(pipe_ends[0], buffer, sizeof buffer)) > 0;) result.said.append(buffer, size_t(got));
    close(pipe_ends[0]);
    result.peak_kilobytes = usage.ru_maxrss;
    return result;
}

// Starts |count| child processes at once, each returning save(its number), and waits for
// them all: true when every one ended in time and returned 0.
inline bool run_at_once(int count, const std::function<int(int)>& save) {
    int gate[2];
    if (pipe(gate) != 0) return false;
    std::fflush(nullptr);
    std::vector<pid_t> children;
    for (int i = 0; i < count; ++i) {
        const pid_t pid = fork();
        if (pid < 0) break;
        if (pid == 0) {
            close(gate[1]);
            char open_gate;
            if (read(gate[0], &open_gate, 1) != 0) _exit(2);  // the gate opens when it closes
            _exit(save(i) == 0 ? 0 : 1);
        }
        children.push_back(pid);
    }
    close(gate[0]);
    close(gate[1]);
    bool all = int(children.size()) == count;
    for (pid_t pid : children) {
        int status = 0;
        rusage usage;
        all = wait_child(pid, 60, &status, &usage) && WIFEXITED(status) && WEXITSTATUS(status) == 0 && all;
    }
    return all;
}
