#include "catalogs/PodfileReader.h"

#include <QtTest>

using namespace plinth;

class TestPodfileReader : public QObject
{
    Q_OBJECT

private slots:
    void podNames_data()
    {
        QTest::addColumn<QString>("podfile");
        QTest::addColumn<QStringList>("expected");

        const QString tail = QStringLiteral("end\n\npost_install do |installer|\nend\n");
        QTest::newRow("written block") << QStringLiteral("target 'Shop' do\n  # Default pods\n  pod 'Alamofire'\n"
                                                         "  pod 'R.swift', '~> 7.0'\n") +
                                              tail
                                       << QStringList{QStringLiteral("Alamofire"), QStringLiteral("R.swift")};
        QTest::newRow("duplicates kept, order kept")
            << QStringLiteral("# Default pods\npod 'B'\npod 'A'\npod 'B'\n") + tail
            << QStringList{QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("B")};
        QTest::newRow("pods outside the block ignored")
            << QStringLiteral("pod 'Before'\n# Default pods\npod 'Inside'\n") + tail + QStringLiteral("pod 'After'\n")
            << QStringList{QStringLiteral("Inside")};
        QTest::newRow("path pods and nested targets")
            << QStringLiteral("# Default pods\n  pod 'ShopSecrets', :path => 'Dependencies/ShopSecrets'\n"
                              "  target 'ShopTests' do\n    pod 'Quick'\n  end\n") +
                   tail
            << QStringList{QStringLiteral("ShopSecrets"), QStringLiteral("Quick")};
        QTest::newRow("tabs between pod and name") << QStringLiteral("# Default pods\n\tpod\t'Tabbed'\n") + tail
                                                   << QStringList{QStringLiteral("Tabbed")};
        QTest::newRow("word ending in pod is not a pod")
            << QStringLiteral("# Default pods\nipod 'No'\n# pods 'No'\npod \"DoubleQuoted\"\n") + tail
            << QStringList{};
        QTest::newRow("no default marker") << QStringLiteral("pod 'A'\n") + tail << QStringList{};
        QTest::newRow("no post_install") << QStringLiteral("# Default pods\npod 'A'\nend\n") << QStringList{};
        QTest::newRow("post_install before the marker")
            << QStringLiteral("post_install do |i|\nend\n# Default pods\npod 'A'\n") << QStringList{};
        QTest::newRow("empty text") << QString() << QStringList{};
        QTest::newRow("non-ASCII name") << QStringLiteral("# Default pods\npod 'Café'\n") + tail
                                        << QStringList{QStringLiteral("Café")};
    }

    void podNames()
    {
        QFETCH(QString, podfile);
        QFETCH(QStringList, expected);
        QCOMPARE(plinth::podNames(podfile), expected);
    }
};

QTEST_GUILESS_MAIN(TestPodfileReader)
#include "TestPodfileReader.moc"
