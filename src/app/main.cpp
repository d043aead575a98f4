#include "flowview/deal.h"

int main(int argc, char** argv) {
    return tarnwell::program_entry(argc, argv);
}
