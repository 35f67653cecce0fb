#pragma once

#include "WorkbookWriter.h"
#include "platform/xls/LegacyCrypto.h"

// A new workbook encrypted as Excel encrypts one: XOR obfuscation, RC4 or RC4 CryptoAPI (BIFF5
// knows only XOR), with the given password.
QByteArray encryptedWorkbookFile(const sortilo::xls::NewWorkbook& book, int biffVersion,
                                 sortilo::xls::CipherKind kind, const QString& password);
