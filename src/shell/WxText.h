#pragma once
// Our strings are UTF-8 (German texts, file names); wxString needs to be told.
#include <string>

#include <wx/string.h>

namespace qw {

inline wxString Wx(const std::string& utf8) { return wxString::FromUTF8(utf8.data(), utf8.size()); }
inline wxString Wx(const char* utf8) { return wxString::FromUTF8(utf8); }
inline std::string Utf8(const wxString& text) { return text.utf8_string(); }

}  // namespace qw
