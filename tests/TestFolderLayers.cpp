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

#include <functional>

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

/// The first cycle found, as the includes that make its arrows; empty when
/// the folders include one way.
QStringList firstCycle(const FolderGraph &graph)
{
    enum Mark { Unvisited, OnPath, Done };
    QMap<QString, Mark> marks;
    QStringList path;
    std::function<QStringList(const QString &)> visit = [&](const QString &folder) -> QStringList {
        marks[folder] = OnPath;
        path << folder;
        const QMap<QString, QString> arrows = graph.value(folder);
        for (auto arrow = arrows.cbegin(); arrow != arrows.cend(); ++arrow) {
            if (marks.value(arrow.key()) == OnPath) {
                QStringList cycle;
                const qsizetype start = path.indexOf(arrow.key());
                for (qsizetype i = start; i < path.size(); ++i) {
                    const QString next = i + 1 < path.size() ? path.at(i + 1) : arrow.key();
                    cycle << graph.value(path.at(i)).value(next);
                }
                return cycle;
            }
            if (marks.value(arrow.key()) == Unvisited) {
                const QStringList cycle = visit(arrow.key());
                if (!cycle.isEmpty())
                    return cycle;
            }
        }
        marks[folder] = Done;
        path.removeLast();
        return {};
    };
    for (auto folder = graph.cbegin(); folder != graph.cend(); ++folder) {
        if (marks.value(folder.key()) == Unvisited) {
            const QStringList cycle = visit(folder.key());
            if (!cycle.isEmpty())
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
    // subfolder reached by a path relative to the including file.
    void cyclesAreFound_data()
    {
        QTest::addColumn<QByteArray>("baseIncludes");
        QTest::addColumn<int>("arrows");
        QTest::newRow("one way") << QByteArray() << 0;
        QTest::newRow("back up from a subfolder") << QByteArray("#include \"app/Flow.h\"\n") << 3;
        QTest::newRow("a missing or system header") << QByteArray("#include \"Missing.h\"\n#include <QString>\n") << 0;
    }
    void cyclesAreFound()
    {
        QFETCH(QByteArray, baseIncludes);
        QFETCH(int, arrows);
        QTemporaryDir root;
        using plinth::test::writeFile;
        QVERIFY(writeFile(root.filePath(QStringLiteral("app/Flow.h")), "#include \"project/Screen.h\"\n"));
        QVERIFY(writeFile(root.filePath(QStringLiteral("project/Screen.h")), "#include \"../app/base/Text.h\"\n"));
        QVERIFY(writeFile(root.filePath(QStringLiteral("app/base/Text.h")), baseIncludes));
        QCOMPARE(firstCycle(folderGraph(root.path())).size(), arrows);
    }
};

QTEST_GUILESS_MAIN(TestFolderLayers)
#include "TestFolderLayers.moc"
