#include "shell/menu.h"

int main() {
    return runMainMenu();
}
