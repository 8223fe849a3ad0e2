// Writes the seed corpus of fuzz_ini: small profile files like the program's own.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* files[] = {
      "[AnimalHuman]\r\nAnimalOnly=1\r\n[DSIReader]\r\nDSIOnly=0\r\n",
      "; comment\n[SilentOpen]\nUseAuto = \"0\"\n\n[Other]\nkey=value with blanks  \n",
      "\xEF\xBB\xBF[\xE8\xA8\xAD\xE5\xAE\x9A]\nname=\xE5\x80\xA4\n",
  };
  for (std::size_t i = 0; i < std::size(files); ++i) {
    const std::string path = std::string(argv[1]) + "/ini" + std::to_string(i);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 1;
    std::fputs(files[i], f);
    std::fclose(f);
  }
  return 0;
}
