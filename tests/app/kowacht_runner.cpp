#include "kowacht_runner.h"

#include "app/kowacht/run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace kw::test
{

KowachtRun runKowacht(
    const TempTree &tree, const std::string &folder, std::vector<std::string> args, const std::string &stdoutTo)
{
    const std::string outPath
        = stdoutTo.empty() ? tree.root() + "/../" + tree.root().substr(tree.root().rfind('/') + 1) + ".out" : stdoutTo;
    const std::string errPath = outPath + ".err";
    args.insert(args.begin(), KOWACHT_BINARY);
    const pid_t child = ::fork();
    if (child == 0) {
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err
            = ::open((stdoutTo.empty() ? errPath : tree.root() + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int in = ::open("/dev/null", O_RDONLY);
        if (out < 0 || err < 0 || in < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::dup2(out, 1), ::dup2(err, 2), ::dup2(in, 0);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    KowachtRun run;
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (stdoutTo.empty()) {
        run.out = readFile(outPath);
        run.err = readFile(errPath);
        ::unlink(outPath.c_str());
        ::unlink(errPath.c_str());
    } else {
        run.err = readFile(tree.root() + ".err");
        ::unlink((tree.root() + ".err").c_str());
    }
    return run;
}

KowachtRun runKowachtWithHooks(const TempTree &t, std::vector<std::string> args, const search::SearchHooks &hooks)
{
    const std::string out = t.path("../" + t.root().substr(t.root().rfind('/') + 1) + ".out");
    args.insert(args.begin(), "kowacht");
    const pid_t child = ::fork();
    if (child == 0) {
        const int outFd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int errFd = ::open((out + ".err").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (outFd < 0 || errFd < 0 || ::dup2(outFd, 1) < 0 || ::dup2(errFd, 2) < 0)
            std::_Exit(126);
        std::vector<char *> argv;
        for (std::string &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        const int status = app::runKowacht(static_cast<int>(args.size()), argv.data(), &hooks);
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(status);
    }
    KowachtRun run;
    int status = 0;
    ::waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = readFile(out);
    run.err = readFile(out + ".err");
    ::unlink(out.c_str());
    ::unlink((out + ".err").c_str());
    return run;
}

} // namespace kw::test
