// Loses one block on purpose. The test run expects the leak check to report it, so a run whose
// leak check has been switched off (by an option or the environment) fails instead of passing
// quietly.
#include <cstdlib>
#include <cstring>

int main() {
    constexpr std::size_t kBytes = 4096;
    void* volatile lost = std::malloc(kBytes);
    if (lost) std::memset(lost, 1, kBytes);
    lost = nullptr;
    return 0;
}
