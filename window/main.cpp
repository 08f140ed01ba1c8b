#include "window/Program.h"

int main(int argc, char* argv[]) { return corvella::RunProgram(argc, argv); }
