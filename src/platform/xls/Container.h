#pragma once

#include "platform/SpreadsheetService.h"

#include <QByteArray>
#include <QString>

#include <map>

namespace sortilo::xls {

// What a file's first bytes say it is; the name counts for nothing.
enum class ContentKind { Cfb, Zip, RawBiff, Empty, Text, UnicodeText, Html, Xml2003, Xml, Other };

ContentKind sniffContent(const QByteArray& bytes);

// The BIFF stream of a compound file: `Workbook` (BIFF8) or `Book` (BIFF5), any letter case.
struct CfbWorkbookStream {
    QByteArray stream;
    QString name;
};

SheetError readCfbWorkbookStream(const QByteArray& file, CfbWorkbookStream& out);

// The parts of a zip package the xlsx reader asks for, by their path inside the package.
class ZipPackage {
public:
    ~ZipPackage();
    SheetError open(const QByteArray& file);
    // The uncompressed part; false when there is no such part or it cannot be unpacked (then
    // `error` says why).
    bool read(const QString& path, QByteArray& out, SheetError& error) const;
    bool has(const QString& path) const;

private:
    void* infile_ = nullptr;  // GsfInfile*, kept out of this header
    void* input_ = nullptr;   // GsfInput*
};

}  // namespace sortilo::xls
