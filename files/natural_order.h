// Names in the order a file manager shows them: a run of digits compared as the number it is
// (2.png before 10.png), letters without regard to case (brass before Zinc). Pure.
#pragma once

#include <string>

// Whether `a` comes before `b`. Names equal but for case or leading zeros fall back to their
// bytes, so that the order is total and the same on every run.
bool comesBeforeNaturally(const std::string& a, const std::string& b);
