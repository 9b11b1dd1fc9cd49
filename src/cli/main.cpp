#include "app/base/ResourceBundle.h"
#include "cli/CliApplication.h"
#include "toolchain/CommandRunner.h"

#include <QCoreApplication>

#include <memory>

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    plinth::setUpCliApplication();
    const plinth::CliContext context{plinth::ResourceBundle::main(), std::make_shared<plinth::CommandRunner>()};
    return plinth::runCli(QCoreApplication::arguments(), context);
}
