#include "workspace/print_settings.h"

namespace tarnwell {

print_settings default_print_settings() {
    using enum print_alignment;
    print_settings settings;
    settings.header = {
        {1, left, "This is the first line in the header", 0},
        {1, right, "Page: $PAGENUM$ of $PAGECOUNT$", 0},
        {2, left, "$TITLE$", 0},
        {2, right, "Print Date: $DATE$. Time: $TIME$", 6},
    };
    settings.footer = {
        {1, right, "$PAGENUM$/$PAGECOUNT$", 0},
        {1, left, "Printed by Tarnwell", 6},
    };
    return settings;
}

}  // namespace tarnwell
