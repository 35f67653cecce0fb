#pragma once

#include <QByteArray>

#include <cstdint>

// XOR obfuscation "method 1" of the legacy Office formats, as Excel uses it in FILEPASS.
namespace sortilo::xls::xorob {

// The password as the method sees it: one byte per character, at most 15.
QByteArray passwordBytes(const QString& password);
uint16_t key(const QByteArray& password);
uint16_t verifier(const QByteArray& password);
QByteArray obfuscationArray(const QByteArray& password);

}  // namespace sortilo::xls::xorob
