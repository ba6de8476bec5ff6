// qmx-make-demo: makes the demo environment in a folder and tells how to use it.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "qmx/Exception.h"
#include "qmx/reference/DemoEnvironment.h"

namespace {

constexpr const char* kUsage =
    "Usage: qmx-make-demo [options] [DIR]\n"
    "Makes the demo environment of the module in DIR (default: $QMX_DEMO_DIR, else\n"
    "$XDG_DATA_HOME/qmx/demo): registry file, dispatch center settings, company database.\n"
    "\n"
    "Options:\n"
    "  --replace             remake an existing environment (new database and job queue)\n"
    "  --data-source NAME    the company database (default DODaza60)\n"
    "  --user ID             the user of the session (default 796)\n"
    "  --ui-codepage CP      interface code page: 936, 950 or 437 (default 936)\n"
    "  --language LANG       message texts of the host: CHS or ENG (default CHS)\n"
    "  --allow-downloads     set the upgrader switch (GoAhead=1)\n"
    "  --library-folder DIR  where the reference libraries lie (default: beside this program)\n"
    "  --help                this text\n"
    "\n"
    "Then: export QMX_REGISTRY=DIR/registry.reg (or source DIR/demo.env).\n";

} // namespace

int main(int argc, char** argv) {
    qmx::reference::DemoOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "qmx-make-demo: %s needs a value\n%s", argument.c_str(), kUsage);
                std::exit(2);
            }
            return argv[++i];
        };
        if (argument == "--help" || argument == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argument == "--replace") {
            options.Replace = true;
        } else if (argument == "--allow-downloads") {
            options.AllowDownloads = true;
        } else if (argument == "--data-source") {
            options.DataSource = value();
        } else if (argument == "--user") {
            options.UserId = value();
        } else if (argument == "--ui-codepage") {
            options.UICodePage = value();
        } else if (argument == "--language") {
            options.Language = value();
        } else if (argument == "--library-folder") {
            options.LibraryFolder = value();
        } else if (argument.starts_with("-")) {
            std::fprintf(stderr, "qmx-make-demo: unknown option %s\n%s", argument.c_str(), kUsage);
            return 2;
        } else if (options.Folder.empty()) {
            options.Folder = argument;
        } else {
            std::fprintf(stderr, "qmx-make-demo: only one folder may be given\n%s", kUsage);
            return 2;
        }
    }
    if (options.Folder.empty()) options.Folder = qmx::reference::DefaultDemoFolder();
    try {
        const qmx::reference::DemoEnvironment environment = qmx::reference::MakeDemoEnvironment(options);
        std::printf("Demo environment made in %s\n"
                    "  registry          %s\n"
                    "  company database  %s\n"
                    "  data folder       %s\n"
                    "export QMX_REGISTRY=%s\n",
                    environment.Folder.c_str(), environment.RegistryFile.c_str(),
                    environment.CompanyDatabase.c_str(), environment.DataFolder.c_str(),
                    environment.RegistryFile.c_str());
        return 0;
    } catch (const qmx::Exception& error) {
        std::fprintf(stderr, "qmx-make-demo: %s\n", error.what());
        return 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qmx-make-demo: %s\n", error.what());
        return 1;
    }
}
