// Replays the fuzzer's kept inputs (seeds it grew and every finding, tests/data/fuzz-xls) and
// the corpus through the fuzz entry point: none may crash, hang or be refused without a reason.
#include "FuzzWorkbook.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestFuzzReplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void replay_data() {
        QTest::addColumn<QString>("path");
        const QStringList folders{
            qEnvironmentVariable("SORTILO_TEST_DATA") + QStringLiteral("/fuzz-xls"),
            qEnvironmentVariable("SORTILO_CORPUS_DIR")};
        int count = 0;
        for (const QString& folder : folders) {
            const QDir dir(folder);
            for (const QString& f : dir.entryList(QDir::Files, QDir::Name)) {
                if (!f.endsWith(QLatin1String(".json")) && !f.endsWith(QLatin1String(".tsv")) &&
                    !f.endsWith(QLatin1String(".md"))) {
                    QTest::newRow(qPrintable(f)) << dir.filePath(f);
                    ++count;
                }
            }
        }
        QVERIFY(count > 81);  // the corpus and at least one kept input
    }

    void replay() {
        QFETCH(QString, path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(
            fuzzWorkbook(reinterpret_cast<const uint8_t*>(bytes.constData()), size_t(bytes.size())),
            0);
    }
};

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "TestFuzzReplay.moc"
