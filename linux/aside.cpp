// Full-screen courtesy, whichever shell judges it: takes the shell's judgement that a
// full-screen program covers the pet's monitor, and returns the pet hidden and paused
// meanwhile, and shown again where and as it was afterwards.
#include "pet.h"

int32_t stepped_aside = 0;
int32_t full_screen_covered = 0;

bool step_aside_for_full_screen() {
    // A held pet stays with the user's hand.
    if (!desktop_settings.fullscreen || dragging) return false;
    if (full_screen_covered == stepped_aside) return stepped_aside;
    stepped_aside = full_screen_covered;
    if (stepped_aside) {
        shell->hide_pet();
    } else {
        // A change of monitors noted while the pet was away applies now, while it is
        // still hidden.
        if (layout_changed) apply_layout_change();
        shell->show_pet_again();
    }
    // The tick that hides or shows the pet does nothing else: it comes back as it went.
    return true;
}
