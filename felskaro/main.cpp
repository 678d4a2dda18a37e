#include "driver.h"

int main(int argc, char** argv) { return felskaro::run_felskaro(argc, argv); }
