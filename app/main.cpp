// main.cpp - the program's entry point.
#include "app/driver.h"

int main(int argc, char** argv) { return nwmain(argc, argv); }
