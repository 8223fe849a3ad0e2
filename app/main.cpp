// Entry point of the analyzer program.
int main(int, char**) { return 0; }
