#pragma once
#include <string>

// The decimal number a text starts with (a product version such as "6.1.0" gives 6), 0 when
// it starts with none. Absurdly long digit runs stop growing the value instead of overflowing.
int LeadingNumber(const std::string& text);
