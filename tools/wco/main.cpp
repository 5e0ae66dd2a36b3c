#include "tools/wco/wcot.h"

int main(int argc, char **argv)
{
    return WCOT_main(argc, argv);
}
