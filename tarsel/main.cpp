#include <cstdio>

int main()
{
    std::printf("Tarsel started.\n");
    return 0;
}
