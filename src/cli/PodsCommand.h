#pragma once

#include "catalogs/PodfileReader.h"
#include "cli/CliContext.h"
#include "project/LibraryPackages.h"
#include "project/ListItem.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace plinth {

/// `plinth-cli pods`: the pods the pod screen would offer, one per line as
/// "NAME<TAB>DESCRIPTION<TAB>PACKAGE" (PACKAGE: the repository of the
/// library's Swift package, empty when it has none), in the screen's order: the supplemental pods of
/// the UI kind from the library page (fetched, or read from a saved copy),
/// without the pods the project already gets (the preset catalog for a new
/// project, the Podfile's pods for an existing one).
class PodsCommand : public QObject
{
    Q_OBJECT

public:
    enum ExitCode { listed = 0, pageUnreadable = 1 };

    struct Options
    {
        bool isUIKitProject = true;
        /// The page's text when a saved copy was given; fetched otherwise.
        std::optional<QString> page;
        /// The pods an existing project's Podfile gives its app target,
        /// when one was given.
        std::optional<QList<PodfilePod>> podfilePods;
        /// The libraries' Swift packages (the bundle's catalog).
        LibraryPackages packages;
    };

    PodsCommand(const CliContext &context, Options options, QObject *parent = nullptr);

    /// Lists the pods (after fetching the page, when no copy was given) and
    /// returns at once; finished() tells the exit code.
    void start();

    /// The lines for the pods of a page: those offered, each description on
    /// one line (its runs of white space as single spaces), then the package.
    static QStringList lines(const QList<ListItem> &parsedPods, const Options &options);

signals:
    void finished(int exitCode);

private:
    void list(const QString &page);

    CliContext m_context;
    Options m_options;
    QNetworkAccessManager m_network;
};

} // namespace plinth
