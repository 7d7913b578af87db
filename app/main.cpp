#include "app/game_app.h"
#include "platform/platform.h"

int main(int argc, char** argv) { return plat::RunProgram(argc, argv, &ProgramEntry); }
