#pragma once

#include <cstdint>
#include <string>

// The text of the analyser's fields, shared by its outputs (the pitch
// readings, the strum rows and the reports after them).

// Fixed-point text, exactly as printf's %.Nf prints it.
std::string Fixed(double v, int digits);

// A time in 100 ns units as seconds with seven decimals, "12.3456789".
std::string TimeText(int64_t time);

// A note's name in the tuner's own naming ("A1" for A = 440 Hz) and in
// scientific pitch notation ("A4"); empty outside 0..127.
std::string TunerName(int note);
std::string ScientificName(int note);
// Both, for a person to read: "A1 (A4)"; empty outside 0..127.
std::string BothNames(int note);

// A CSV field (RFC 4180), made printable first (cli::Printable): quoted,
// with quotes doubled, when it holds a comma or a quote; with no line break
// left, every row is one line.
std::string CsvField(const std::string &text);

// `text` as a JSON string, quotes included, valid whatever bytes it holds:
// control characters escaped (\u00NN), each bad UTF-8 sequence U+FFFD.
std::string JsonString(const std::string &text);
