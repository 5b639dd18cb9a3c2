/* Samples the cursor the X server shows, as a native program beside Wine:
 * X screenshots hold no cursor, but the XFixes extension hands out the
 * picture on screen. Prints how many samples were taken over the time
 * given, how many different pictures they held and how often the picture
 * changed, and exits 0 when it changed at least `changes` times (an
 * animated cursor stepping through its frames), 1 when not, 2 when the
 * display can't be read.
 *
 *   screen_cursor_frames MILLISECONDS CHANGES
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

enum { SAMPLE_INTERVAL_MS = 15, MAX_PICTURES = 256 };

/* FNV-1a over the picture's size and pixels. */
static uint64_t picture_hash(const XFixesCursorImage *image) {
    uint64_t hash = 1469598103934665603ull;
    unsigned long count = (unsigned long)image->width * image->height;
    hash = (hash ^ image->width) * 1099511628211ull;
    hash = (hash ^ image->height) * 1099511628211ull;
    for (unsigned long i = 0; i < count; ++i)
        hash = (hash ^ (uint32_t)image->pixels[i]) * 1099511628211ull;
    return hash;
}

static void sleep_ms(long milliseconds) {
    struct timespec pause = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    nanosleep(&pause, NULL);
}

int main(int argc, char **argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: screen_cursor_frames MILLISECONDS CHANGES\n");
        return 2;
    }
    long duration = atol(argv[1]);
    long wanted = atol(argv[2]);
    Display *display = XOpenDisplay(NULL);
    int event_base, error_base;
    if (!display || !XFixesQueryExtension(display, &event_base, &error_base)) {
        fprintf(stderr, "screen_cursor_frames: no X display with the XFixes extension\n");
        return 2;
    }
    uint64_t pictures[MAX_PICTURES];
    int distinct = 0;
    long samples = 0, changes = 0;
    uint64_t last = 0;
    for (long waited = 0; waited <= duration; waited += SAMPLE_INTERVAL_MS) {
        XFixesCursorImage *image = XFixesGetCursorImage(display);
        if (image) {
            uint64_t hash = picture_hash(image);
            XFree(image);
            int known = 0;
            for (int i = 0; i < distinct; ++i)
                known |= pictures[i] == hash;
            if (!known && distinct < MAX_PICTURES)
                pictures[distinct++] = hash;
            changes += samples > 0 && hash != last;
            last = hash;
            ++samples;
        }
        sleep_ms(SAMPLE_INTERVAL_MS);
    }
    XCloseDisplay(display);
    printf("%ld samples over %ld ms: %d different pictures, %ld changes\n", samples, duration,
           distinct, changes);
    return changes >= wanted ? 0 : 1;
}
