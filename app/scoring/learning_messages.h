#pragma once
// The coded messages of the learning: a text of the string table and a code, as "%s : %d",
// shown through LyrAutoStaging::Say.
#include <cstdint>
#include <string>

// "<text> : <code>" with the text of string `textId`.
std::string CodedText(std::uint32_t textId, int code);
// "Learning Failure !! : <code>".
void SayLearningFailure(int code);
// "Warning !! : <code>".
void SayLearningWarning(int code);
