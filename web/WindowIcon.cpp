#include "app/WindowIcon.h"

// A page's icon is the site's, named by the page itself.
void setWindowIcon() {}
