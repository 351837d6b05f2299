#include "shell/Anwendung.h"
