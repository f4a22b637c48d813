#include "app/Tavix.h"

int main(int argc, char **argv) { return tavixMain(argc, argv); }
