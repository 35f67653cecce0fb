// Workbooks encrypted the ways Excel does (XOR obfuscation, RC4, RC4 CryptoAPI; BIFF5 XOR) open
// with the default password as if they were not encrypted, are refused with a password of the
// user's, and are never edited. tests/data/encrypted/make_encrypted.py writes them.
#include "platform/xls/BiffReader.h"
#include "platform/xlsedit/EditableWorkbook.h"
#include "support/Failure.h"
#include "support/Files.h"
#include "support/TestData.h"

#include <QTest>

using namespace sortilo;
using namespace sortilo::xls;

class TestEncryption : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Each holds the sheets "封面" and, active, "名单" with B2 = 42 and A3..A299 =
    // "机密姓名3".."机密姓名299": text across several of the blocks RC4 rekeys at.
    void schemes_data() {
        QTest::addColumn<QString>("file");
        for (const char* file :
             {"biff8-xor.xls", "biff8-rc4.xls", "biff8-rc4-cryptoapi.xls", "biff5-xor.xls",
              "biff8-xor-own-password.xls", "biff8-rc4-own-password.xls",
              "biff8-rc4-cryptoapi-own-password.xls"}) {
            QTest::newRow(file) << QString::fromLatin1(file);
        }
    }

    void schemes() {
        QFETCH(QString, file);
        const QByteArray bytes = fileBytes(sortilo::test::testData("encrypted/" + file));
        QVERIFY(!bytes.isEmpty());
        const Result<Workbook> book = Workbook::fromBytes(bytes);
        if (file.contains(QStringLiteral("own-password"))) {
            QCOMPARE(book.error().kind, ErrorKind::PasswordProtected);
            return;
        }
        QVERIFY2(book, qPrintable(failure(book)));
        QCOMPARE(book->activeSheetName(), QStringLiteral("名单"));
        QCOMPARE(book->cell(299, 1).text, QStringLiteral("机密姓名299"));
        QCOMPARE(book->cell(2, 2).number, 42.0);
        QVERIFY(book->cell(300, 1).isEmpty());
        QCOMPARE(xlsedit::EditableWorkbook::fromBytes(bytes).error().kind,
                 ErrorKind::PasswordProtected);
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
        const QByteArray bytes = fileBytes(sortilo::test::corpusFile(file));
        QVERIFY(!bytes.isEmpty());
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
