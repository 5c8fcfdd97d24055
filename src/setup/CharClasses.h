#pragma once

// The character classes of setup and data files: 7-bit ASCII only; bytes
// 0x80 to 0xFF belong to no class.

inline bool IsSetupSpace(unsigned char c) {
    return c == ' ' || (c >= 0x09 && c <= 0x0D);
}

inline bool IsSetupLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

inline bool IsSetupDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

// Characters of item names.
inline bool IsSetupWordChar(unsigned char c) {
    return IsSetupLetter(c) || IsSetupDigit(c) || c == '.' || c == '_' || c == '*';
}
