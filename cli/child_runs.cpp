#include "cli/child_runs.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <sstream>
#include <vector>

#include "cli/script_result.h"
#include "cli/text_output.h"

namespace sps {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using TemporaryFile = std::unique_ptr<std::FILE, FileCloser>;

[[noreturn]] void runChild(std::size_t index, const std::function<ScriptResult(std::size_t, Output&)>& run,
                           std::FILE* file) {
    int status = 0;
    try {
        std::ostringstream out;
        std::ostringstream err;
        Output output(out, err);
        TransferredRun transferred;
        transferred.result = run(index, output);
        transferred.out = out.str();
        transferred.err = err.str();
        const std::string bytes = packRun(transferred);
        if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || std::fflush(file) != 0) status = 3;
    } catch (...) {
        status = 3;
    }
    // Nothing of the parent's (buffered standard output, destructors) runs
    // twice: the child ends here.
    _exit(status);
}

std::string readAll(std::FILE* file) {
    std::string bytes;
    if (std::fseek(file, 0, SEEK_SET) != 0) return bytes;
    char block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0) bytes.append(block, got);
    return bytes;
}

ChildRun outcome(int status, std::FILE* file) {
    ChildRun ended;
    TransferredRun run;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && unpackRun(readAll(file), run)) {
        ended.run = std::move(run);
        return ended;
    }
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        const char* name = strsignal(signal);
        ended.failure =
            "the run ended with signal " + std::to_string(signal) + (name ? std::string(" (") + name + ")" : "");
    } else if (WIFEXITED(status) && WEXITSTATUS(status) == SCRIPT_INVALID) {
        ended.timedOut = true; // only the watchdog ends a run with this status
    } else {
        ended.failure = "the run ended with exit status " +
                        std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + " before it reported";
    }
    return ended;
}

} // namespace

void runInChildren(std::size_t count, unsigned jobs, const std::function<ScriptResult(std::size_t, Output&)>& run,
                   const std::function<void(std::size_t, ChildRun)>& done) {
    if (jobs == 0) jobs = 1;
    std::map<pid_t, std::size_t> running;
    std::vector<TemporaryFile> files(count);
    std::map<std::size_t, ChildRun> finished;
    std::size_t next = 0;
    std::size_t handed = 0;
    while (handed < count) {
        while (next < count && running.size() < jobs) {
            files[next].reset(std::tmpfile());
            if (!files[next]) {
                finished[next] = ChildRun{std::nullopt,
                                          "no temporary file for the run: " + std::string(std::strerror(errno)), false};
                ++next;
                continue;
            }
            const pid_t child = fork();
            if (child == 0) runChild(next, run, files[next].get());
            if (child < 0) {
                finished[next] =
                    ChildRun{std::nullopt, "cannot start a process: " + std::string(std::strerror(errno)), false};
                files[next].reset();
            } else {
                running[child] = next;
            }
            ++next;
        }
        if (!running.empty() && !finished.contains(handed)) {
            int status = 0;
            const pid_t ended = waitpid(-1, &status, 0);
            if (ended < 0) {
                if (errno == EINTR) continue;
                // No child to wait for any more: none of those left can report.
                for (const auto& [pid, index] : running)
                    finished[index] = ChildRun{std::nullopt, "the run's process was lost", false};
                running.clear();
                continue;
            }
            const auto found = running.find(ended);
            if (found == running.end()) continue;
            const std::size_t index = found->second;
            running.erase(found);
            finished[index] = outcome(status, files[index].get());
            files[index].reset();
        }
        while (finished.contains(handed)) {
            ChildRun ended = std::move(finished[handed]);
            finished.erase(handed);
            done(handed, std::move(ended));
            ++handed;
        }
    }
}

} // namespace sps
