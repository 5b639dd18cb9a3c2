// The one place the module asks whether Windows redirects its file writes:
// an old game without a manifest, run without elevation from Program Files,
// has its writes there sent to the player's VirtualStore, and its reads then
// prefer those copies over the files a player puts into the real folder.
#pragma once

// True when this process's writes into protected folders are redirected.
// Asked once, from the process's token; false where the system can't tell.
bool file_writes_virtualised();

// What file_writes_virtualised answers from now on: tests fix it, since no
// system here redirects writes. VIRTUALISATION_ASK asks the system again.
enum VirtualisationAnswer { VIRTUALISATION_ASK, VIRTUALISATION_OFF, VIRTUALISATION_ON };
void answer_file_writes_virtualised(VirtualisationAnswer answer);
