#include <cstdio>

int main() {
  std::puts("tonbrisk-cli");
  return 0;
}
