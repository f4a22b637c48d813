// The program of one module's layer check: it does nothing. What matters is its link, which
// takes every object of the module's library and resolves them against the layers below.
int main() { return 0; }
