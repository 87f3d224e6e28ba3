#include "support/cli_run.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace qctest {

CliResult runcli(const std::string& args)
{
    CliResult r;
    std::string errfile = (std::filesystem::temp_directory_path() /
                           ("quillcut-cli-err-" + std::to_string(::getpid()) + ".txt"))
                              .string();
    std::string cmd = std::string("'") + QC_CLI_PATH + "' " + args + " 2>'" + errfile + "'";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int status = ::pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errfile);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    std::filesystem::remove(errfile);
    return r;
}

}  // namespace qctest
