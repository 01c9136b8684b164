// Nothing outside the tests draws with Picture yet; its blit gets a test with its first caller.
#include "toolkit/picture.h"
