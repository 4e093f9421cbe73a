#pragma once

#include <string>
#include <string_view>

namespace sps {

// Text for an XML 1.0 document in UTF-8, made well-formed whatever the input:
// the markup characters become entity references, and everything that an XML
// document cannot hold (control characters other than tab, line feed and
// carriage return, bytes that are not UTF-8, U+FFFE and U+FFFF) becomes the
// replacement character U+FFFD.

// Character data between tags: line breaks stay as they are, a carriage
// return is written as a reference so that a parser keeps it.
std::string xmlText(std::string_view utf8);

// The value of an attribute in double quotes: tab, line feed and carriage
// return are written as references, since a parser would turn them into
// blanks.
std::string xmlAttribute(std::string_view utf8);

} // namespace sps
