// make_manual: sets the user manual (Markdown) as the PDF beside the program.
//
//   make_manual MANUAL.md OUT.pdf
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/draw/markdown_pdf.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_manual MANUAL.md OUT.pdf\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "make_manual: cannot read %s\n", argv[1]);
    return 1;
  }
  std::ostringstream text;
  text << in.rdbuf();
  std::string error;
  if (!draw::WriteMarkdownPdf(text.str(), argv[2], "Vellisom user manual", &error)) {
    std::fprintf(stderr, "make_manual: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
