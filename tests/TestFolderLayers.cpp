// Folders of src/ include one way: following the quoted includes from folder
// to folder never leads back to where it started. A subfolder is a folder of
// its own (app/base is not app).

#include "tools/TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

/// folder -> folder it includes -> one include that makes the arrow
using FolderGraph = QMap<QString, QMap<QString, QString>>;

FolderGraph folderGraph(const QString &root)
{
    static const QRegularExpression include(QStringLiteral("^\\s*#\\s*include\\s+\"([^\"]+)\""),
                                            QRegularExpression::MultilineOption);
    const QDir rootDir(root);
    FolderGraph graph;
    QDirIterator it(root, {QStringLiteral("*.h"), QStringLiteral("*.cpp"), QStringLiteral("*.h.in")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = rootDir.relativeFilePath(it.next());
        const QString folder = QFileInfo(file).path();
        QFile source(rootDir.filePath(file));
        if (!source.open(QIODevice::ReadOnly))
            continue;
        const QString text = QString::fromUtf8(source.readAll());
        for (const QRegularExpressionMatch &match : include.globalMatch(text)) {
            const QString name = match.captured(1);
            QString target;
            for (const QString &candidate : {QDir::cleanPath(folder + QLatin1Char('/') + name), name}) {
                if (rootDir.exists(candidate) || rootDir.exists(candidate + QStringLiteral(".in"))) {
                    target = candidate;
                    break;
                }
            }
            const QString targetFolder = QFileInfo(target).path();
            if (!target.isEmpty() && targetFolder != folder && !graph[folder].contains(targetFolder))
                graph[folder][targetFolder] = file + QStringLiteral(" includes ") + name;
        }
    }
    return graph;
}

/// The first cycle found, as the includes that make its arrows: an arrow
/// and the shortest way back from where it leads; empty when the folders
/// include one way.
QStringList firstCycle(const FolderGraph &graph)
{
    for (auto from = graph.cbegin(); from != graph.cend(); ++from) {
        for (auto arrow = from->cbegin(); arrow != from->cend(); ++arrow) {
            QMap<QString, QString> previous{{arrow.key(), from.key()}};
            QStringList queue{arrow.key()};
            for (qsizetype i = 0; i < queue.size() && !previous.contains(from.key()); ++i) {
                for (const QString &next : graph.value(queue.at(i)).keys()) {
                    if (!previous.contains(next)) {
                        previous.insert(next, queue.at(i));
                        queue << next;
                    }
                }
            }
            if (!previous.contains(from.key()))
                continue;
            QStringList cycle;
            for (QString at = from.key(); cycle.isEmpty() || at != from.key(); at = previous.value(at))
                cycle.prepend(graph.value(previous.value(at)).value(at));
            return cycle;
        }
    }
    return {};
}

} // namespace

class TestFolderLayers : public QObject
{
    Q_OBJECT

private slots:
    void sourceFoldersIncludeOneWay()
    {
        const FolderGraph graph = folderGraph(QStringLiteral(PLINTH_SOURCE_DIR "/src"));
        QVERIFY2(graph.contains(QStringLiteral("app")), "the source tree was not read");
        const QStringList cycle = firstCycle(graph);
        QVERIFY2(cycle.isEmpty(), qPrintable(QStringLiteral("folders include each other: ") + cycle.join(QStringLiteral("; "))));
    }

    // The check itself: a cycle through three folders, one of them a
    // subfolder reached by a path relative to the including file. (That it
    // reports none where there is none, the real tree shows.)
    void cyclesAreFound()
    {
        QTemporaryDir root;
        using plinth::test::writeFile;
        QVERIFY(writeFile(root.filePath(QStringLiteral("app/Flow.h")), "#include \"project/Screen.h\"\n"));
        QVERIFY(writeFile(root.filePath(QStringLiteral("project/Screen.h")), "#include \"../app/base/Text.h\"\n"));
        QVERIFY(writeFile(root.filePath(QStringLiteral("app/base/Text.h")), "#include \"app/Flow.h\"\n"));
        QCOMPARE(firstCycle(folderGraph(root.path())),
                 (QStringList{"app/Flow.h includes project/Screen.h", "project/Screen.h includes ../app/base/Text.h",
                              "app/base/Text.h includes app/Flow.h"}));
    }
};

QTEST_GUILESS_MAIN(TestFolderLayers)
#include "TestFolderLayers.moc"
