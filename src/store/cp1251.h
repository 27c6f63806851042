// Windows-1251, the code page of the texts in alarm.rec.
#pragma once

#include <string>

namespace cp1251 {

// Decodes one byte. Every byte has a character.
wchar_t Decode(unsigned char c);
// Encodes one character; returns false when the code page cannot hold it.
bool Encode(wchar_t ch, unsigned char& out);

// Whole strings. Characters that cannot be encoded become '?'; a UTF-16
// surrogate pair counts as one character.
std::string FromWide(const std::wstring& text);
std::wstring ToWide(const std::string& bytes);

}  // namespace cp1251
