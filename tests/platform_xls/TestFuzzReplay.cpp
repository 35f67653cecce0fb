// Replays the inputs kept from fuzzing through both fuzz entry points: the reader's (its grown
// seeds and every finding in tests/data/fuzz-xls, and the corpus) and the editor's (its findings
// in tests/platform_xlsedit/fuzz-findings). None may crash, hang, be refused without a reason,
// leave a refused file changed or save a file that does not open again.
#include "FuzzEdit.h"
#include "FuzzWorkbook.h"
#include "support/Files.h"
#include "support/TestData.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

void addFiles(const QString& folder, bool edit) {
    const QDir dir(folder);
    for (const QString& f : dir.entryList(QDir::Files, QDir::Name)) {
        if (!f.endsWith(QLatin1String(".json")) && !f.endsWith(QLatin1String(".tsv")) &&
            !f.endsWith(QLatin1String(".md"))) {
            QTest::newRow(qPrintable(f)) << dir.filePath(f) << edit;
        }
    }
}

}  // namespace

class TestFuzzReplay : public QObject {
    Q_OBJECT

    int edited_ = 0;

private Q_SLOTS:
    void replay_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("edit");
        addFiles(sortilo::test::testData(QStringLiteral("fuzz-xls")), false);
        addFiles(sortilo::test::corpusFile({}), false);
        addFiles(QStringLiteral(XLSEDIT_FUZZ_FINDINGS), true);
    }

    void replay() {
        QFETCH(QString, path);
        QFETCH(bool, edit);
        const QByteArray bytes = fileBytes(path);
        const auto* data = reinterpret_cast<const uint8_t*>(bytes.constData());
        if (!edit) {
            QCOMPARE(fuzzWorkbook(data, size_t(bytes.size())), 0);
            return;
        }
        const FuzzEditOutcome outcome = fuzzEdit(data, size_t(bytes.size()));
        QVERIFY(outcome != FuzzEditOutcome::Broken);
        edited_ += outcome == FuzzEditOutcome::Edited ? 1 : 0;
    }

    // Some of the editor's findings are workbooks it must be able to edit.
    void cleanupTestCase() { QVERIFY(edited_ > 0); }
};

QTEST_GUILESS_MAIN(TestFuzzReplay)
#include "TestFuzzReplay.moc"
