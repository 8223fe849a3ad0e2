// Seeds of the CSV reader's fuzz target: the kinds of files the program writes.
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::string dir = argv[1];
  const char* seeds[] = {
      "EpochNo,Delta,Time\r\n1,12.5,00:00:30\r\n2,-3e2,\r\n",
      "\"Name, first\",\"say \"\"hi\"\"\",,x\r\n",
      "\"two\nlines\",z\n\n",
      "\"folder\",\"book.xls\",0",
  };
  int n = 0;
  for (const char* s : seeds) std::ofstream(dir + "/seed" + std::to_string(n++), std::ios::binary) << s;
  return 0;
}
