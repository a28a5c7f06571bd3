#include "app/main/StartUp.h"

int main(int argc, char** argv) {
    return kestrova::RunProgram(argc, argv);
}
