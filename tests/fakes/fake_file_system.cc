#include "tests/fakes/fake_file_system.h"
