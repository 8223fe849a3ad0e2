#pragma once
// Small helpers of the delimited text outputs and the dialogs.
#include <cstdint>
#include <string>
#include <vector>

// 1 when a file search for the path finds an entry, else 0.
int IsFileExist(const std::string& path);
// The items before each comma; text after the last comma is dropped.
void SplitCommaText(const std::string& text, std::vector<std::string>& items);
// 1 when every character is one of "0123456789.-" (an empty text counts).
int IsNumericText(const std::string& text);
// Entries equal to 1 among the first channelCount entries of a per-channel flag array.
int CountFlagOn(const std::uint16_t* flags, int channelCount);
// Starts the spreadsheet converter beside the program, not waited for; a failure to start is
// shown with the system's error text.
void RunCSVBOOK(const std::string& folder, const std::string& target, int mode);
// The message shown when the converter ended with a failure: the first line of its reason.
std::string WorkbookFailureText(int status, const std::string& reason);
