#include "DropComplaints.h"

namespace sw {

const char* DropComplaint(int index) {
    static constexpr const char* kComplaints[kDropComplaintCount] = {
        "One file at a time, please. I'm not a magician.",
        "Hey! What did I just tell you?",
        "Cut that out!",
        "That's getting kind of annoying.",
        "Aiiiieee! Stop that!",
        "Okay, listen. I know that your consumer's instinct demands multi-document "
        "functionality, but let's just stop this before things get ugly.",
        "What the heck is wrong with you, anyway?! Haven't you been listening to me?!",
        "Don't you have anything better to do?",
        "Okay, I'm warning you. If you don't stop, you'll regret it.",
        "Okay, if you like those files so much, let's see how you do when I DELETE THEM! "
        "HAHAHAHAHAHAHAH!",
    };
    return kComplaints[index];
}

}  // namespace sw
