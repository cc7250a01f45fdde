#include "app/start/Startup.h"

int main(int argc, char** argv) {
    return corvane::app::runProgram(argc, argv);
}
