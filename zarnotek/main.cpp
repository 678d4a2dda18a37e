#include "driver.h"

int main(int argc, char** argv) { return zarnotek::run_zarnotek(argc, argv); }
