// A picture's name that numbers the frames of a run: one printf-style whole number (%d, or %04d
// for four digits with leading zeros) stands for the frame's number, and %% for a percent sign.
// Read here, never handed to printf, so that no name can make it read what is not there. Pure.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Whether `name` holds a frame number. Returns "" or why the name cannot be used: a percent
// sign that begins neither a number nor %%, or more than one number.
std::string readNumberedName(const std::string& name, bool* numbered);

// `name`, read without a problem, with `frame` in place of its number and each %% as %.
std::string numberedName(const std::string& name, std::int64_t frame);

// The frames whose numbered name could be `file`: every run of digits in it, read as a number
// from 1 up (one too long for a frame number is passed over). The caller holds the name each
// gives against the file.
std::vector<std::int64_t> framesNamingIt(const std::string& file);
