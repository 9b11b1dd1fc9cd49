// plinth-cli as the tests run it: the same program over the same code
// (plinth_cli), built only in the test tree, whose main() can hand the
// commands a different toolchain and resource bundle. The shipped plinth-cli
// reads no environment variable for settings; this one reads four:
//
//   PLINTH_CLI_TEST_TOOLCHAIN     the runner's search path for commands
//                                 (the fake xcodegen, pod, bundle first)
//   PLINTH_CLI_TEST_SCRIPT_SHELL  the shell that runs the Ruby scripts
//                                 (the fake toolchain's script-shell)
//   PLINTH_CLI_TEST_BUNDLE        the resource bundle's root (a fixture
//                                 bundle with the small template)
//   PLINTH_CLI_TEST_PAGE_URL      the library page that `pods` fetches (a
//                                 loopback server of the test)

#include "app/base/ResourceBundle.h"
#include "cli/CliApplication.h"
#include "toolchain/CommandRunner.h"

#include <QCoreApplication>
#include <QUrl>

#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    plinth::setUpCliApplication();

    plinth::Launchers launchers;
    if (qEnvironmentVariableIsSet("PLINTH_CLI_TEST_SCRIPT_SHELL"))
        launchers.scriptShell = qEnvironmentVariable("PLINTH_CLI_TEST_SCRIPT_SHELL");
    auto runner = std::make_shared<plinth::CommandRunner>(launchers);
    if (qEnvironmentVariableIsSet("PLINTH_CLI_TEST_TOOLCHAIN"))
        runner->setToolchainSearchPath(qEnvironmentVariable("PLINTH_CLI_TEST_TOOLCHAIN"));
    const plinth::ResourceBundle bundle = qEnvironmentVariableIsSet("PLINTH_CLI_TEST_BUNDLE")
                                              ? plinth::ResourceBundle(qEnvironmentVariable("PLINTH_CLI_TEST_BUNDLE"))
                                              : plinth::ResourceBundle::main();

    plinth::CliContext context{bundle, runner};
    if (qEnvironmentVariableIsSet("PLINTH_CLI_TEST_PAGE_URL"))
        context.supplementalPodsListURL = QUrl(qEnvironmentVariable("PLINTH_CLI_TEST_PAGE_URL"));
    return plinth::runCli(QCoreApplication::arguments(), context);
}
