#include "PickleStory.h"

namespace sw {

const std::array<std::string_view, kPickleStoryPartCount>& PickleStoryParts() {
    static constexpr std::array<std::string_view, kPickleStoryPartCount> kParts = {
        // The opening: an invitation.
        "Pull up a crate, friend, and mind the wet rope. I see you are carrying a pickle, so "
        "you've earned the right to hear my story about pickles. Sit.",

        // The tale, as Amos Brindle tells it on the crossing.
        "My name is Amos Brindle, and I have poled the ferry across the Inkwater, from the Lamp "
        "Quarter to the Library Steps, for forty-one years, not counting the winter it froze and I "
        "walked. In that time I have learned three things. The current is stronger than it looks. "
        "Nobody ever has exact change. And a pickle, properly respected, can change a man's life.",

        "I was not always a pickle man. As a lad I ate my vegetables fresh, like a fool, and "
        "thought vinegar was for cleaning windows. My mother kept one jar of pickles on the top "
        "shelf of the pantry, behind the lantern oil, for emergencies. I asked her what sort of "
        "emergency called for a pickle. She said I would know it when I saw it, and went back to "
        "her darning.",

        "I saw it on the ninth of Drizzlemonth, the year the Mayor's Seal went missing. A "
        "gentleman in a velvet coat boarded my ferry with a hatbox, a small dog and a look of "
        "enormous importance. Halfway across, the dog sneezed, the gentleman dropped the hatbox, "
        "and out rolled the Mayor's Seal. We all looked at it. The dog looked at it. The river "
        "looked at it.",

        "Now, a ferryman is a kind of judge out in the middle of the water, where the laws of the "
        "town get damp and hard to read. The gentleman offered me a gold key to forget what I had "
        "seen. I did not want a gold key. I had nothing worth locking. So I asked him, very "
        "calmly, whether he happened to have a pickle about him. He did not. That told me "
        "everything.",

        "I turned the ferry around and delivered him to the constable, seal, hatbox, dog and all. "
        "The constable gave me a reward out of his own pantry: a jar of his wife's pickles, tied "
        "with string, with a little paper hat on the lid. I rowed home with that jar on my knees "
        "like a baby. That night I ate one, and I understood my mother at last, and then I ate "
        "another.",

        "You have to understand about Mrs. Pennyworth's pickles. The crunch of them could be heard "
        "from the lighthouse. Ships in the fog steered by it. They were green as a bottle and sour "
        "as a tax collector, with dill and garlic and one secret ingredient the size of a "
        "thumbnail, which she took to her grave and which I suspect, to this day, was a small "
        "amount of sheer spite.",

        "So I set out to make my own. My first batch was a disaster. I kept my vinegar and my ink "
        "in the same sort of jar, and I pickled in the dark to save lamp oil, and you can guess "
        "the rest. The pickles came out deep blue and wrote poetry on the inside of the lid. Bad "
        "poetry. One of them rhymed cucumber with November, and another would not stop writing "
        "about the sea.",

        "The librarians heard about the poetic pickles and came down to the landing to catalogue "
        "them. They filed them under Fiction, then Reference, then, after a long and bitter "
        "meeting, under Perishables. The head librarian, a stern woman named Agatha Quire, ate the "
        "last one to settle the argument, and she said it was derivative. She was not wrong. It "
        "had been reading the classics.",

        "My second attempt used proper vinegar, proper salt, proper dill and the wrong cucumbers. "
        "I bought them off a man on the pier who swore on his mother they were cucumbers. They "
        "were clockwork mice. Pickling does nothing for a clockwork mouse except make it angry. "
        "They squeaked in the jar for a fortnight, then unscrewed the lid and left. I hear they "
        "run a bakery now.",

        "The third attempt worked. The trick, you see, is the river. I keep the jar under the "
        "ferry bench, where the Inkwater rocks it forty times a day like a cradle. A river-rocked "
        "pickle has seen things. It has been to the Lamp Quarter and back, again and again, and it "
        "comes out of the brine with a kind of wisdom in the crunch. You can taste the miles. And "
        "the weather.",

        "Word got around, as word does in a town made of paper. Passengers began asking for the "
        "pickle ferry by name. A penny for the crossing, a second penny for a pickle, and a third "
        "if they wanted me to stop talking about pickles, which nobody ever paid, more fools them. "
        "Soon I made more from pickles than from crossings, and the Guild of Ferrymen did not like "
        "it.",

        "They called me before a hearing and charged me with operating a delicatessen upon "
        "navigable water. I told them that a pickle is simply a cucumber that has made up its "
        "mind, and that a ferry is simply a bridge that has not. Then I passed the jar around. "
        "They acquitted me on the grounds that none of them could stop eating the evidence long "
        "enough to vote.",

        "Around that time a dog adopted me. A scruffy brown thing with one ear up and one ear "
        "thinking about it. I called him Biscuit, because he would not answer to anything else and "
        "barely to that. Biscuit ate pickles, but only the ends. He would bite off both ends, "
        "leave the middle on my boot, and look at me as if I had raised him badly. We never "
        "settled it.",

        "Then came the great storm, the night the lighthouse lens cracked and the harbour went "
        "black as a closed book. I had a boatload of theatre people aboard, screaming in iambic "
        "pentameter. I held up my jar, and the lightning caught in the brine and made it glow "
        "green as a cat's eye, and I steered by that jar all the way to the Library Steps without "
        "a scratch.",

        "The theatre people were so grateful that they wrote a play about it, called The Brine of "
        "Destiny. It ran for three nights. The actor who played me wore a false beard the size of "
        "a sheep and said Arr a great deal, which I have never once said in my life. The actor who "
        "played the pickle got far better reviews, and went on to a long career playing "
        "vegetables.",

        "After the play I was, I am sorry to say, a little bit famous. The new mayor sent for me "
        "and asked me to pickle something for the Founders' Feast. I asked how much something. He "
        "said enough for the whole town, and the visitors, and their dogs. Nobody owns a jar that "
        "large. So I pickled it all in the big rain barrel behind the ferry shed, and hoped for "
        "the best.",

        "You may have heard about the rain barrel. On the night of the feast it rolled off the end "
        "of the pier, went into the river with a splash they heard in the clocktower, and burst "
        "somewhere past the Harbour Pass. For three weeks the fishermen of Vellumgate pulled up "
        "nothing but pickles. Pickles in the nets, pickles in the pots, one very confused pickle "
        "on a hook.",

        "A young scholar from the library came to study the matter. He decided there must be a "
        "Pickle Fish living in the Inkwater, green and knobbly and shy, and he wrote a monograph "
        "about its habits, with diagrams. I did not correct him. Correcting a scholar is like "
        "poling upstream: you get nowhere, it takes all afternoon, and at the end of it your arms "
        "hurt.",

        "Now I must tell you about Marjoram Fidd, who kept the chutney stall on the far bank. "
        "Marjoram believed, with her whole heart, that chutney was superior to pickles. I "
        "believed, with my whole heart and most of my liver, that she was wrong. We shouted about "
        "it across the water every morning for six years, and I have never been so happy, before "
        "or since.",

        "It came to a head at the Great Condiment Debate in the town square, with the relish "
        "people on one side, the mustard people on the other and the onion people sulking at the "
        "back, as they do. Marjoram spoke for chutney. I spoke for pickles. The judge was a "
        "retired harbour master who had not tasted anything in years, which made him perfectly "
        "impartial.",

        "The debate went on for four hours. There were charts. There were samples. A mustard man "
        "had to be carried out. It ended when Biscuit climbed onto the judge's table and ate his "
        "sandwich, which held both a pickle and a spoon of chutney, and Biscuit ate all of it, "
        "middle and ends, and wagged. The judge declared the dog the winner, and nobody argued.",

        "On the way home I asked Marjoram to marry me. I had put a ring in a pickle, to show I was "
        "serious, and I very nearly ate it out of nerves. She said yes, but only if I learned to "
        "make chutney. I said I would think about it. I have been thinking about it for twelve "
        "years now, and she has been waiting for twelve years, and we are both perfectly content.",

        "People always ask me for my recipe. I tell them it is written in a book in the great "
        "library, on a page that was torn out long ago by a careless reader. They search the "
        "library for days, and the librarians get very cross with me. What I do not tell them is "
        "that the torn page is folded up in my waistcoat pocket. Or it is a laundry list. I have "
        "not checked.",

        "Not long ago a girl called Wren came down to the landing with her friends, all in a great "
        "hurry about some gate or other and a wrong that needed righting. I gave each of them a "
        "pickle for the road, because you never know. Weeks later Wren came back and told me that "
        "the pickle had saved all their lives. She would not say how. Only that it was thrown "
        "hard.",

        "I have thought about that a great deal, out here on the water. A pickle, when you come "
        "down to it, is only a cucumber that has been through something. It went into the dark "
        "with the salt and the vinegar, and it came out sharper, and it keeps. Most of the people "
        "I ferry are the same. So am I, I expect. So, if you will forgive me for saying so, are "
        "you.",

        "Mind you, there was the year of the vinegar shortage, and those were dark days. I pickled "
        "with lemon juice. I pickled with cold tea. Once, on a very low evening, I pickled with "
        "nothing but tears and pond water. The tea pickles were the worst. They were very polite, "
        "and apologised when you bit them, but a pickle without conviction is only a soggy "
        "vegetable.",

        "The shortage ended when a barge full of vinegar ran aground on the mud right in front of "
        "my landing. I did the only decent thing, which was to claim it for salvage before anyone "
        "else woke up. The Guild wrote me up again, naturally, but in very small letters, and "
        "several of them came round afterwards with empty jars, and nobody ever mentioned it "
        "again.",

        "These days I keep the jars in a row along the rail, each one labelled in my own hand. A "
        "jar, you see, is a promise. It says: this moment, this cucumber, this summer, kept for "
        "when you need it. I have jars from every year since the constable's reward. Some nights I "
        "read the labels to Biscuit, and he listens in his way, which is with his eyes shut and "
        "his tail going.",

        "Which brings me to why I am telling you all this, if I have not forgotten. You are "
        "carrying a pickle. Do not deny it. I can smell the vinegar from here, and I have been "
        "smelling vinegar for forty-one years. Anybody going where you are going, with a pickle in "
        "their pocket and that look on their face, deserves to hear the whole story first. Even if "
        "it runs long.",

        "Now, where was I? Oh yes. My mother's emergency pickle. I never did eat it, you know. It "
        "is still on the top shelf of the pantry, behind the lantern oil, where she left it. It "
        "must be sixty years old by now. It has gone a colour I do not have a name for. Some "
        "nights it hums. Whatever the emergency turns out to be, I have decided it is not here "
        "yet.",

        "Ah, here we are at the Library Steps. Mind the gap, it bites. That will be one penny for "
        "the crossing and one for the story, and nothing for the advice, which is worth exactly "
        "that. No, no, keep the pickle. Keep it somewhere safe and close to hand. You will know "
        "when you need it. Off you go, then. And if you see Marjoram, tell her I am still "
        "thinking.",
    };
    return kParts;
}

const std::string& PickleStoryText() {
    static const std::string kText = [] {
        std::string text;
        for (std::string_view part : PickleStoryParts()) {
            text.append(part).append("\r\n\r\n");
        }
        return text;
    }();
    return kText;
}

}  // namespace sw
