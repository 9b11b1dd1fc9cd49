#include "cli/PodsCommand.h"

#include "catalogs/PodfileReader.h"
#include "catalogs/SupplementalPodsPage.h"
#include "cli/CliOutput.h"
#include "project/PresetPodCatalog.h"

#include <QUrl>

namespace plinth {

PodsCommand::PodsCommand(const CliContext &context, Options options, QObject *parent)
    : QObject(parent)
    , m_context(context)
    , m_options(std::move(options))
{
}

QStringList PodsCommand::lines(const QList<ListItem> &parsedPods, const Options &options)
{
    const QList<ListItem> catalog = presetPodCatalog();
    const QList<ListItem> chosen =
        options.podfilePods ? podfilePods(*options.podfilePods, catalog, options.isUIKitProject) : catalog;
    QStringList lines;
    for (const ListItem &pod : offeredSupplementalPods(parsedPods, chosen, options.isUIKitProject))
        lines << pod.title + QLatin1Char('\t') + pod.description.simplified() + QLatin1Char('\t')
                     + options.packages.forPod(pod.title).value_or(LibraryPackage()).url;
    return lines;
}

void PodsCommand::start()
{
    if (m_options.page) {
        list(*m_options.page);
        return;
    }
    const QUrl url = m_context.supplementalPodsListURL;
    fetchHTMLContent(m_network, url, this, [this, url](const FetchedPage &result) {
        if (result.page) {
            list(*result.page);
            return;
        }
        printErrorLine(QStringLiteral("plinth-cli: the library page %1 cannot be read: %2")
                           .arg(url.toString(), result.error.isEmpty() ? QStringLiteral("not a usable address")
                                                                        : result.error));
        emit finished(pageUnreadable);
    });
}

void PodsCommand::list(const QString &page)
{
    const QList<ListItem> parsed = parseSupplementalPods(page);
    if (parsed.isEmpty())
        printErrorLine(QStringLiteral("plinth-cli: the library page lists no pods"));
    for (const QString &line : lines(parsed, m_options))
        printLine(line);
    emit finished(listed);
}

} // namespace plinth
