#pragma once
// Command-line helpers of the main frame: tokens of the argument text and the
// auto-play request given as "/AutoPlay /<entry number>".
#include <string>
#include <string_view>

// The n-th (from 1) blank-separated token of the text. Every single blank
// separates, so two blanks in a row enclose an empty token; the last token runs
// to the end of the text. An index before 1 or past the last token gives "".
std::string GetCommandLineToken(std::string_view text, int n);

// What the frame records from the command line for the auto-play start.
struct AutoPlayRequest {
  int start = 0;   // AutoPlayStart: 1 when an entry was asked for
  int entry = -1;  // AutoPlayEntry: 0-based entry of the auto-play list, -1 none
};

// Reads "/AutoPlay /n" (n counted from 1, entry n - 1). A switch without a
// usable number (missing, not a number, or below 1) is ignored, so no auto-play
// runs for an entry that cannot exist.
AutoPlayRequest ParseAutoPlayRequest(std::string_view commandLine);
