#pragma once

#include <string>

// The yardstick for EncodeUrl: a plain one-pass encoder driven by a table of every 16-bit unit,
// with the same output. Its table is its own, filled at first use from the address rules' public
// definitions, one unit at a time.
std::u16string TableEncode(const std::u16string& name);
