// Workbooks encrypted the ways Excel does (XOR obfuscation, RC4, RC4 CryptoAPI; BIFF5 XOR).
// With the default password they open as if they were not encrypted; with a password of the
// user's they are refused as protected; they are never edited.
#include "platform/xls/BiffReader.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/EncryptedWorkbook.h"
#include "support/Failure.h"

#include <QFile>
#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;

Q_DECLARE_METATYPE(CipherKind)

namespace {

NewWorkbook sample() {
    NewSheet roster{QStringLiteral("名单"), {{2, 2, 42.0}}};
    for (int row = 3; row < 300; ++row) {
        roster.cells.push_back({row, 1, QStringLiteral("机密姓名%1").arg(row)});
    }
    return {{NewSheet{QStringLiteral("封面"), {{1, 1, QStringLiteral("cover")}}}, roster}, 1};
}

}  // namespace

class TestEncryption : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void schemes_data() {
        QTest::addColumn<int>("biff");
        QTest::addColumn<CipherKind>("kind");
        QTest::newRow("BIFF8 XOR") << 8 << CipherKind::Xor;
        QTest::newRow("BIFF8 RC4") << 8 << CipherKind::Rc4;
        QTest::newRow("BIFF8 RC4 CryptoAPI") << 8 << CipherKind::Rc4CryptoApi;
        QTest::newRow("BIFF5 XOR") << 5 << CipherKind::Xor;
    }

    void schemes() {
        QFETCH(int, biff);
        QFETCH(CipherKind, kind);
        const QByteArray file = encryptedWorkbookFile(sample(), biff, kind, DefaultPassword);
        // The names really are hidden in the file.
        QVERIFY(!file.contains(utf16le(QStringLiteral("机密姓名3"))));
        QVERIFY(!file.contains(QByteArray("cover")));
        const Result<Workbook> book = Workbook::fromBytes(file);
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->activeSheetName(), QStringLiteral("名单"));
        QCOMPARE(book->cell(299, 1).text, QStringLiteral("机密姓名299"));
        QCOMPARE(book->cell(2, 2).number, 42.0);
        QVERIFY(book->cell(300, 1).isEmpty());
        QCOMPARE(xlsedit::EditableWorkbook::fromBytes(file).error().kind,
                 ErrorKind::PasswordProtected);
        const QByteArray own = encryptedWorkbookFile(sample(), biff, kind, QStringLiteral("秘密"));
        QCOMPARE(Workbook::fromBytes(own).error().kind, ErrorKind::PasswordProtected);
    }

    // Files encrypted by other programs with the password "password": the schemes decode real
    // files, not only our own. All three hold the same small sheet.
    void realFilesWithTheirPassword_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("XOR") << "sheetjs_password_2002_40_xor.xls";
        QTest::newRow("RC4") << "sheetjs_password_2002_40_972000.xls";
        QTest::newRow("RC4 CryptoAPI 40 bit") << "sheetjs_password_2002_40_basecrypto.xls";
    }

    void realFilesWithTheirPassword() {
        QFETCH(QString, file);
        QFile f(qEnvironmentVariable("SORTILO_CORPUS_DIR") + QLatin1Char('/') + file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QCOMPARE(Workbook::fromBytes(bytes).error().kind, ErrorKind::PasswordProtected);
        Workbook::Parts parts;
        const Result<void> read = readBiffWorkbook(bytes, parts, QStringLiteral("password"));
        QVERIFY2(read, qPrintable(failure(read)));
        parts.cells.finish();
        QCOMPARE(parts.sheets[size_t(parts.active)].name, QStringLiteral("Sheet1"));
        QCOMPARE(parts.cells.size(), size_t(5));
        for (uint32_t row = 1; row <= 4; ++row) {
            QCOMPARE(parts.cells.at(row, 1).number, double(row));
        }
        QCOMPARE(parts.cells.at(2, 2).number, 10.0);
    }
};

QTEST_GUILESS_MAIN(TestEncryption)
#include "TestEncryption.moc"
