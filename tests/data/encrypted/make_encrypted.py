#!/usr/bin/env python3
"""Writes the encrypted test workbooks in this folder, the ways Excel encrypts an .xls.

Written from the published file format descriptions, not from Sortilo's reader, so the tests
that read these files check the reader against an independent writer. Standard library only;
the output is the same on every run (fixed salts and verifiers, no time stamps).

Every workbook holds two sheets: "封面" (A1 = "cover") and the active one, "名单" (B2 = 42,
A3..A299 = "机密姓名3".."机密姓名299"), enough text for the cells to span several of the
1024-byte blocks the RC4 schemes rekey at.
"""
import hashlib
import os
import struct

DEFAULT_PASSWORD = "VelvetSweatshop"  # what Excel encrypts with when the user gave none
HERE = os.path.dirname(os.path.abspath(__file__))

# Records the encryption leaves readable: BOF, FILEPASS, USREXCL, FILELOCK, INTERFACEHDR,
# RRDINFO, RRDHEAD.
CLEAR_RECORDS = {0x0809, 0x002F, 0x0194, 0x0195, 0x00E1, 0x0196, 0x0138}
BOUNDSHEET = 0x0085


def u16(v):
    return struct.pack("<H", v)


def u32(v):
    return struct.pack("<I", v)


def record(rtype, body):
    return u16(rtype) + u16(len(body)) + body


# --- the workbook -------------------------------------------------------------------------


def sheets():
    """(name, cells) per sheet; a cell is (row, col, value), 0-based."""
    cover = [(0, 0, "cover")]
    roster = [(1, 1, 42.0)] + [(row - 1, 0, "机密姓名%d" % row) for row in range(3, 300)]
    return [("封面", cover), ("名单", roster)]


def biff8_string(text, length_bytes):
    """An XLUnicodeString (2-byte length) or ShortXLUnicodeString (1-byte length), stored
    as UTF-16 unless every character fits in one byte."""
    wide = any(ord(c) > 0xFF for c in text)
    chars = text.encode("utf-16-le") if wide else text.encode("latin-1")
    length = u16(len(text)) if length_bytes == 2 else bytes([len(text)])
    return length + bytes([1 if wide else 0]) + chars


def window1():
    # x, y, width, height, flags, active sheet 1, first tab 0, 1 selected tab, tab ratio
    return record(0x003D, struct.pack("<HHHHHHHHH", 0, 0, 0x4000, 0x2000, 0x38, 1, 0, 1, 600))


def window2(biff, active):
    flags = 0x00B6 | (0x0600 if active else 0)  # grid, headers, zeros, outline; selected
    if biff == 8:
        return record(0x023E, struct.pack("<HHHHHHHHH", flags, 0, 0, 64, 0, 0, 0, 0, 0))
    return record(0x023E, struct.pack("<HHHI", flags, 0, 0, 0))


def sheet_substream(biff, cells, strings, active):
    rows = [r for r, _, _ in cells]
    cols = [c for _, c, _ in cells]
    if biff == 8:
        out = record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0010, 0x0DBB, 0x07CC, 0, 6))
        dims = struct.pack("<IIHHH", min(rows), max(rows) + 1, min(cols), max(cols) + 1, 0)
    else:
        out = record(0x0809, struct.pack("<HHHH", 0x0500, 0x0010, 0x0DBB, 0x07CC))
        dims = struct.pack("<HHHHH", min(rows), max(rows) + 1, min(cols), max(cols) + 1, 0)
    out += record(0x0200, dims)
    for row, col, value in cells:
        if isinstance(value, float):
            out += record(0x0203, struct.pack("<HHHd", row, col, 0, value))
        elif biff == 8:  # LABELSST: an index into the shared strings
            out += record(0x00FD, struct.pack("<HHHI", row, col, 0, strings.index(value)))
        else:  # BIFF5 has no shared strings: LABEL with the text in the code page
            text = value.encode("gbk")
            out += record(0x0204, struct.pack("<HHHH", row, col, 0, len(text)) + text)
    return out + window2(biff, active) + record(0x000A, b"")


def workbook_stream(biff, filepass):
    """The plain stream with FILEPASS right after the globals' BOF."""
    books = sheets()
    strings = [v for _, cells in books for _, _, v in cells if isinstance(v, str)]
    active = 1
    subs = [sheet_substream(biff, cells, strings, i == active) for i, (_, cells) in enumerate(books)]
    if biff == 8:
        globals_head = record(0x0809, struct.pack("<HHHHII", 0x0600, 0x0005, 0x0DBB, 0x07CC, 0, 6))
        codepage = record(0x0042, u16(1200))
        names = [biff8_string(name, 1) for name, _ in books]
        sst = u32(len(strings)) + u32(len(strings)) + b"".join(biff8_string(s, 2) for s in strings)
        tail = record(0x00FC, sst) + record(0x000A, b"")
    else:
        globals_head = record(0x0809, struct.pack("<HHHH", 0x0500, 0x0005, 0x0DBB, 0x07CC))
        codepage = record(0x0042, u16(936))
        names = [bytes([len(name.encode("gbk"))]) + name.encode("gbk") for name, _ in books]
        tail = record(0x000A, b"")
    head = globals_head + record(0x002F, filepass) + codepage + window1()
    bound_size = sum(4 + 6 + len(n) for n in names)
    offset = len(head) + bound_size + len(tail)
    bound = b""
    for name, sub in zip(names, subs):
        bound += record(BOUNDSHEET, u32(offset) + bytes([0, 0]) + name)
        offset += len(sub)
    return head + bound + tail + b"".join(subs)


def encrypted_bytes(stream):
    """(position, byte index within the record body) of every byte the encryption covers."""
    pos = 0
    seen_filepass = False
    while pos < len(stream):
        rtype, size = struct.unpack_from("<HH", stream, pos)
        body = pos + 4
        if seen_filepass and rtype not in CLEAR_RECORDS:
            first = 4 if rtype == BOUNDSHEET else 0  # the sheet's offset stays readable
            for p in range(body + first, body + size):
                yield p, size
        seen_filepass = seen_filepass or rtype == 0x002F
        pos = body + size


# --- XOR obfuscation ----------------------------------------------------------------------

XOR_INITIAL_CODE = [0xE1F0, 0x1D0F, 0xCC9C, 0x84C0, 0x110C, 0x0E10, 0xF1CE, 0x313E,
                    0x1872, 0xE139, 0xD40F, 0x84F9, 0x280C, 0xA96A, 0x4EC3]
XOR_MATRIX = [
    0xAEFC, 0x4DD9, 0x9BB2, 0x2745, 0x4E8A, 0x9D14, 0x2A09, 0x7B61, 0xF6C2, 0xFDA5, 0xEB6B,
    0xC6F7, 0x9DCF, 0x2BBF, 0x4563, 0x8AC6, 0x05AD, 0x0B5A, 0x16B4, 0x2D68, 0x5AD0, 0x0375,
    0x06EA, 0x0DD4, 0x1BA8, 0x3750, 0x6EA0, 0xDD40, 0xD849, 0xA0B3, 0x5147, 0xA28E, 0x553D,
    0xAA7A, 0x44D5, 0x6F45, 0xDE8A, 0xAD35, 0x4A4B, 0x9496, 0x390D, 0x721A, 0xEB23, 0xC667,
    0x9CEF, 0x29FF, 0x53FE, 0xA7FC, 0x5FD9, 0x47D3, 0x8FA6, 0x0F6D, 0x1EDA, 0x3DB4, 0x7B68,
    0xF6D0, 0xB861, 0x60E3, 0xC1C6, 0x93AD, 0x377B, 0x6EF6, 0xDDEC, 0x45A0, 0x8B40, 0x06A1,
    0x0D42, 0x1A84, 0x3508, 0x6A10, 0xAA51, 0x4483, 0x8906, 0x022D, 0x045A, 0x08B4, 0x1168,
    0x76B4, 0xED68, 0xCAF1, 0x85C3, 0x1BA7, 0x374E, 0x6E9C, 0x3730, 0x6E60, 0xDCC0, 0xA9A1,
    0x4363, 0x86C6, 0x1DAD, 0x3331, 0x6662, 0xCCC4, 0x89A9, 0x0373, 0x06E6, 0x0DCC, 0x1021,
    0x2042, 0x4084, 0x8108, 0x1231, 0x2462, 0x48C4]
XOR_PAD = [0xBB, 0xFF, 0xFF, 0xBA, 0xFF, 0xFF, 0xB9, 0x80, 0x00, 0xBE, 0x0F, 0x00, 0xBF, 0x0F, 0x00]


def xor_password(password):
    """One byte a character (the low byte, or the high one when the low is zero), 15 at most."""
    out = bytearray()
    for c in password[:15]:
        out.append(ord(c) & 0xFF or (ord(c) >> 8) & 0xFF)
    return bytes(out)


def xor_verifier(pw):
    verifier = 0
    for byte in reversed(bytes([len(pw)]) + pw):
        verifier = (((verifier >> 14) & 1) | ((verifier << 1) & 0x7FFF)) ^ byte
    return verifier ^ 0xCE4B


def xor_key(pw):
    key = XOR_INITIAL_CODE[len(pw) - 1]
    element = len(XOR_MATRIX) - 1
    for char in reversed(pw):
        for _ in range(7):
            if char & 0x40:
                key ^= XOR_MATRIX[element]
            char = (char << 1) & 0xFF
            element -= 1
    return key


def xor_array(pw):
    key = xor_key(pw)
    high, low = key >> 8, key & 0xFF

    def xor_ror(a, b):
        v = a ^ b
        return ((v >> 1) | (v << 7)) & 0xFF

    out = [0] * 16
    index = len(pw)
    if index % 2 == 1:
        out[index] = xor_ror(XOR_PAD[0], high)
        index -= 1
        out[index] = xor_ror(pw[-1], low)
    while index > 0:
        index -= 1
        out[index] = xor_ror(pw[index], high)
        index -= 1
        out[index] = xor_ror(pw[index], low)
    index, pad = 15, 15 - len(pw)
    while pad > 0:
        out[index] = xor_ror(XOR_PAD[pad], high)
        index, pad = index - 1, pad - 1
        out[index] = xor_ror(XOR_PAD[pad], low)
        index, pad = index - 1, pad - 1
    return out


def xor_obfuscate(stream, password):
    table = xor_array(xor_password(password))
    out = bytearray(stream)
    for p, size in encrypted_bytes(stream):
        v = ((out[p] << 5) | (out[p] >> 3)) & 0xFF
        out[p] = v ^ table[(p + size) % 16]  # the key index depends on where the record ends
    return bytes(out)


def xor_filepass(password, biff):
    pw = xor_password(password)
    fields = u16(xor_key(pw)) + u16(xor_verifier(pw))
    return fields if biff < 8 else u16(0) + fields


# --- RC4 ----------------------------------------------------------------------------------


def rc4(key, data):
    s = list(range(256))
    j = 0
    for i in range(256):
        j = (j + s[i] + key[i % len(key)]) & 0xFF
        s[i], s[j] = s[j], s[i]
    out = bytearray()
    i = j = 0
    for byte in data:
        i = (i + 1) & 0xFF
        j = (j + s[i]) & 0xFF
        s[i], s[j] = s[j], s[i]
        out.append(byte ^ s[(s[i] + s[j]) & 0xFF])
    return bytes(out)


class Rc4Standard:
    """RC4 with an MD5-derived 40-bit secret (FILEPASS version 1.1)."""

    def __init__(self, password, salt):
        h0 = hashlib.md5(password.encode("utf-16-le")).digest()
        self.secret = hashlib.md5((h0[:5] + salt) * 16).digest()[:5]
        self.salt = salt

    def block_key(self, block):
        return hashlib.md5(self.secret + u32(block)).digest()

    def filepass(self, verifier):
        sealed = rc4(self.block_key(0), verifier + hashlib.md5(verifier).digest())
        return u16(1) + u16(1) + u16(1) + self.salt + sealed


class Rc4CryptoApi:
    """RC4 keyed through SHA-1 as the CryptoAPI does it (FILEPASS version 4.2, 128-bit key)."""

    PROVIDER = "Microsoft Enhanced Cryptographic Provider v1.0"

    def __init__(self, password, salt):
        self.h0 = hashlib.sha1(salt + password.encode("utf-16-le")).digest()
        self.salt = salt

    def block_key(self, block):
        return hashlib.sha1(self.h0 + u32(block)).digest()[:16]

    def filepass(self, verifier):
        flags = 0x04  # fCryptoAPI
        provider = (self.PROVIDER + "\0").encode("utf-16-le")
        # flags, size extra, RC4, SHA-1, key bits, provider type RSA full, two reserved
        header = struct.pack("<8I", flags, 0, 0x6801, 0x8004, 128, 1, 0, 0) + provider
        sealed = rc4(self.block_key(0), verifier + hashlib.sha1(verifier).digest())
        return (u16(1) + u16(4) + u16(2) + u32(flags) + u32(len(header)) + header
                + u32(16) + self.salt + sealed[:16] + u32(20) + sealed[16:])


def rc4_encrypt(stream, scheme):
    """Every covered byte takes the key stream byte of its own position: a fresh key every
    1024 bytes of the stream, record headers and clear records using up key stream too."""
    out = bytearray(stream)
    pad = {}
    for p, _ in encrypted_bytes(stream):
        block = p // 1024
        if block not in pad:
            pad[block] = rc4(scheme.block_key(block), bytes(1024))
        out[p] ^= pad[block][p % 1024]
    return bytes(out)


# --- compound file ------------------------------------------------------------------------

END_OF_CHAIN, FAT_SECTOR, FREE, NO_STREAM = 0xFFFFFFFE, 0xFFFFFFFD, 0xFFFFFFFF, 0xFFFFFFFF


def dir_entry(name, kind, child, start, size):
    encoded = (name + "\0").encode("utf-16-le") if name else b""
    return (encoded.ljust(64, b"\0") + u16(len(encoded)) + bytes([kind, 1])
            + u32(NO_STREAM) + u32(NO_STREAM) + u32(child) + bytes(16) + u32(0) + bytes(16)
            + u32(start) + u32(size) + u32(0))


def compound_file(stream_name, data):
    """A version 3 compound file (512-byte sectors) holding one stream of at least 4096 bytes,
    so it lives in regular sectors and the file needs no mini stream."""
    assert len(data) >= 4096
    sectors = (len(data) + 511) // 512
    directory, fat_at = sectors, sectors + 1
    fat = list(range(1, sectors)) + [END_OF_CHAIN, END_OF_CHAIN, FAT_SECTOR]
    assert len(fat) <= 128
    fat += [FREE] * (128 - len(fat))
    header = (bytes.fromhex("D0CF11E0A1B11AE1") + bytes(16) + u16(0x3E) + u16(3) + u16(0xFFFE)
              + u16(9) + u16(6) + bytes(6) + u32(0) + u32(1) + u32(directory) + u32(0)
              + u32(4096) + u32(END_OF_CHAIN) + u32(0) + u32(END_OF_CHAIN) + u32(0)
              + u32(fat_at) + u32(FREE) * 108)
    entries = (dir_entry("Root Entry", 5, 1, END_OF_CHAIN, 0)
               + dir_entry(stream_name, 2, NO_STREAM, 0, len(data))
               + dir_entry("", 0, NO_STREAM, 0, 0) * 2)
    return (header + data.ljust(sectors * 512, b"\0") + entries
            + b"".join(u32(v) for v in fat))


# --- the files ----------------------------------------------------------------------------

SALT = bytes.fromhex("5a3c91e07d2b4f6618a0c3d5e7f90b2c")
VERIFIER = bytes.fromhex("0f1e2d3c4b5a69788796a5b4c3d2e1f0")


def xor_file(biff, password=DEFAULT_PASSWORD):
    stream = xor_obfuscate(workbook_stream(biff, xor_filepass(password, biff)), password)
    return compound_file("Workbook" if biff == 8 else "Book", stream)


def rc4_file(scheme_type, password=DEFAULT_PASSWORD):
    scheme = scheme_type(password, SALT)
    stream = rc4_encrypt(workbook_stream(8, scheme.filepass(VERIFIER)), scheme)
    return compound_file("Workbook", stream)


OWN_PASSWORD = "秘密"
FILES = {
    "biff8-xor.xls": lambda: xor_file(8),
    "biff8-rc4.xls": lambda: rc4_file(Rc4Standard),
    "biff8-rc4-cryptoapi.xls": lambda: rc4_file(Rc4CryptoApi),
    "biff5-xor.xls": lambda: xor_file(5),
    "biff8-xor-own-password.xls": lambda: xor_file(8, OWN_PASSWORD),
    "biff8-rc4-own-password.xls": lambda: rc4_file(Rc4Standard, OWN_PASSWORD),
    "biff8-rc4-cryptoapi-own-password.xls": lambda: rc4_file(Rc4CryptoApi, OWN_PASSWORD),
}

if __name__ == "__main__":
    for name, make in FILES.items():
        data = make()
        # The names really are hidden: a reader that skipped decryption would not find them.
        for text in ("cover", "机密姓名3"):
            for encoding in ("latin-1", "utf-16-le", "gbk"):
                try:
                    assert text.encode(encoding) not in data, (name, text, encoding)
                except UnicodeEncodeError:
                    pass
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)
        print(name)
