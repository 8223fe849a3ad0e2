#pragma once
// A Markdown text set as a PDF document (A4, the toolkit's text layout): the program's manual
// is made this way at build time.
#include <string>

namespace draw {

// Writes the PDF beside `pdfPath` and renames it into place. False with a message when the
// Markdown is empty or the file cannot be written.
bool WriteMarkdownPdf(const std::string& markdown, const std::string& pdfPath, const std::string& title,
                      std::string* error);

}  // namespace draw
