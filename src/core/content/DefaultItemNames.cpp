#include "ItemNames.h"

namespace sw {

// The game's own names, in item-code order. Entry 0 names an empty slot.
const ItemNameTable& DefaultItemNames() {
    static const ItemNameTable kNames = {
        "Null",                 // 0x00
        "Ferry Token",          // 0x01
        "Lamplighter's Key",    // 0x02
        "Tin Whistle",          // 0x03
        "Sealed Letter",        // 0x04
        "Library Card",         // 0x05
        "Brass Compass",        // 0x06
        "Mapmaker's Chalk",     // 0x07
        "Lantern Oil",          // 0x08
        "Torn Page",            // 0x09
        "Bound Chapter",        // 0x0A
        "Ink Pot",              // 0x0B
        "Signet Ring",          // 0x0C
        "Clockwork Mouse",      // 0x0D
        "Bell Rope",            // 0x0E
        "Postcard",             // 0x0F
        "Twig",                 // 0x10
        "Umbrella",             // 0x11
        "Ash Cane",             // 0x12
        "Oak Cane",             // 0x13
        "Bramble Staff",        // 0x14
        "Brass-Tipped Cane",    // 0x15
        "Iron Umbrella",        // 0x16
        "Storm Umbrella",       // 0x17
        "Ribbon Staff",         // 0x18
        "Lighthouse Cane",      // 0x19
        "Gatekeeper's Staff",   // 0x1A
        "Pencil Stub",          // 0x1B
        "Goose Quill",          // 0x1C
        "Steel Nib",            // 0x1D
        "Silver Nib",           // 0x1E
        "Drafting Pen",         // 0x1F
        "Fountain Pen",         // 0x20
        "Heron Quill",          // 0x21
        "Vellum Quill",         // 0x22
        "Carillon Hammer",      // 0x23
        "Cork Popper",          // 0x24
        "Pea Launcher",         // 0x25
        "Spring Shooter",       // 0x26
        "Coil Pistol",          // 0x27
        "Spark Caster",         // 0x28
        "Static Wand",          // 0x29
        "Lantern Beam",         // 0x2A
        "Prism Caster",         // 0x2B
        "Thunder Jar",          // 0x2C
        "Comet Caster",         // 0x2D
        "Aurora Lens",          // 0x2E
        "Tesla Bottle",         // 0x2F
        "Starlight Projector",  // 0x30
        "Tuning Fork",          // 0x31
        "Bell Mallet",          // 0x32
        "Gong Stick",           // 0x33
        "Choir Baton",          // 0x34
        "Harbor Hook",          // 0x35
        "Rolling Pin",          // 0x36
        "Fireplace Poker",      // 0x37
        "Flyswatter",           // 0x38
        "Garden Rake",          // 0x39
        "Broom Handle",         // 0x3A
        "Loose Brick",          // 0x3B
        "Soup Ladle",           // 0x3C
        "Paper Fan",            // 0x3D
        "Woven Cloak",          // 0x3E
        "Cloister Robe",        // 0x3F
        "Rubber Band",          // 0x40
        "Cloth Wristlet",       // 0x41
        "Leather Cuff",         // 0x42
        "Copper Bangle",        // 0x43
        "Silver Bangle",        // 0x44
        "Pearl Bracelet",       // 0x45
        "Wax-Sealed Band",      // 0x46
        "Compass Bracelet",     // 0x47
        "Warden's Bracelet",    // 0x48
        "Abbot's Bracelet",     // 0x49
        "Paper Crown",          // 0x4A
        "Knit Cap",             // 0x4B
        "Straw Hat",            // 0x4C
        "Reading Glasses",      // 0x4D
        "Feather Hairpin",      // 0x4E
        "Plain Ribbon",         // 0x4F
        "Moonstone Ribbon",     // 0x50
        "Lucky Button",         // 0x51
        "Clover Charm",         // 0x52
        "Thimble Charm",        // 0x53
        "Acorn Pendant",        // 0x54
        "Owl Pendant",          // 0x55
        "Lighthouse Pendant",   // 0x56
        "Abbey Pendant",        // 0x57
        "Bread Roll",           // 0x58
        "Apple",                // 0x59
        "Pear",                 // 0x5A
        "Cheese Wedge",         // 0x5B
        "Boiled Egg",           // 0x5C
        "Oatcake",              // 0x5D
        "Meat Pie",             // 0x5E
        "Fish Cake",            // 0x5F
        "Lentil Soup",          // 0x60
        "Honey Bun",            // 0x61
        "Plum Jam Toast",       // 0x62
        "Roast Chestnuts",      // 0x63
        "Baker's Loaf",         // 0x64
        "Potato Dumpling",      // 0x65
        "Turnip Stew",          // 0x66
        "Salted Herring",       // 0x67
        "Caraway Biscuit",      // 0x68
        "Sugar Mouse",          // 0x69
        "Gingerbread",          // 0x6A
        "Candied Violet",       // 0x6B
        "Butterscotch",         // 0x6C
        "Fig Roll",             // 0x6D
        "Mince Tart",           // 0x6E
        "Plum Pudding",         // 0x6F
        "Hot Cocoa",            // 0x70
        "Ginger Beer",          // 0x71
        "Elderflower Cordial",  // 0x72
        "Chamomile Tea",        // 0x73
        "Milk Bottle",          // 0x74
        "Spring Water",         // 0x75
        "Cold Tea",             // 0x76
        "Porridge",             // 0x77
        "Pancake Stack",        // 0x78
        "Harbor Chowder",       // 0x79
        "Festival Skewer",      // 0x7A
        "Cinnamon Knot",        // 0x7B
        "Rice Ball",            // 0x7C
        "Noodle Bowl",          // 0x7D
        "Almond Cake",          // 0x7E
        "Royal Trifle",         // 0x7F
        "Bandage",              // 0x80
        "Herb Poultice",        // 0x81
        "Willow Tonic",         // 0x82
        "Smelling Salts",       // 0x83
        "Eye Drops",            // 0x84
        "Throat Lozenge",       // 0x85
        "Starlight Salve",      // 0x86
        "Antidote Vial",        // 0x87
        "Warm Blanket",         // 0x88
        "Hot Water Bottle",     // 0x89
        "Mint Leaf",            // 0x8A
        "Lavender Sachet",      // 0x8B
        "Calming Incense",      // 0x8C
        "Restoring Ink",        // 0x8D
        "Clear Ink",            // 0x8E
        "Golden Ink",           // 0x8F
        "Spark Battery",        // 0x90
        "Spare Spring",         // 0x91
        "Copper Cell",          // 0x92
        "Spool of Thread",      // 0x93
        "Wax Candle",           // 0x94
        "Matchbook",            // 0x95
        "Magnifying Glass",     // 0x96
        "Pocket Mirror",        // 0x97
        "Sewing Kit",           // 0x98
        "Glue Pot",             // 0x99
        "Bookbinder's Awl",     // 0x9A
        "Ball of Twine",        // 0x9B
        "Tin of Polish",        // 0x9C
        "Oil Can",              // 0x9D
        "Screwdriver",          // 0x9E
        "Wrench",               // 0x9F
        "Pepper Shaker",        // 0xA0
        "Bubble Wand",          // 0xA1
        "Firecracker",          // 0xA2
        "Smoke Puff",           // 0xA3
        "Snap Pop",             // 0xA4
        "Sneezing Powder",      // 0xA5
        "Glue Bomb",            // 0xA6
        "Ink Splash",           // 0xA7
        "Paper Dart",           // 0xA8
        "Paper Crane",          // 0xA9
        "Paper Dragon",         // 0xAA
        "Origami Swan",         // 0xAB
        "Thunder Bottle",       // 0xAC
        "Hail Jar",             // 0xAD
        "Fog Jar",              // 0xAE
        "Sleep Dust",           // 0xAF
        "Mirror Shard",         // 0xB0
        "Folding Shield",       // 0xB1
        "Slingshot Pebble",     // 0xB2
        "Bag of Marbles",       // 0xB3
        "Spinning Top",         // 0xB4
        "Lantern of Calm",      // 0xB5
        "Bird Whistle",         // 0xB6
        "Harmonica",            // 0xB7
        "Music Box",            // 0xB8
        "Prayer Beads",         // 0xB9
        "Rain Stick",           // 0xBA
        "Paper Kite",           // 0xBB
        "Yo-Yo",                // 0xBC
        "Toy Soldier",          // 0xBD
        "Jack-in-the-Box",      // 0xBE
        "Snow Globe",           // 0xBF
        "Gate Fragment",        // 0xC0
        "Silver Key",           // 0xC1
        "Gold Key",             // 0xC2
        "Crypt Key",            // 0xC3
        "Story Stone",          // 0xC4
        "Lighthouse Lens",      // 0xC5
        "Clocktower Cog",       // 0xC6
        "Harbor Pass",          // 0xC7
        "Theatre Ticket",       // 0xC8
        "Train Ticket",         // 0xC9
        "Museum Badge",         // 0xCA
        "Mayor's Seal",         // 0xCB
        "Tide Chart",           // 0xCC
        "Star Chart",           // 0xCD
        "Inkwell of Ages",      // 0xCE
        "Blank Book",           // 0xCF
        "Meditation Mat",       // 0xD0
        "Surveyor's Notes",     // 0xD1
        "Lost Manuscript",      // 0xD2
        "Pressed Flower",       // 0xD3
        "Old Photograph",       // 0xD4
        "Seashell",             // 0xD5
        "River Stone",          // 0xD6
        "Quill Case",           // 0xD7
        "Locket",               // 0xD8
        "Pocket Watch",         // 0xD9
        "Stopped Watch",        // 0xDA
        "Jar of Fireflies",     // 0xDB
        "Moth Cocoon",          // 0xDC
        "Hollow Acorn",         // 0xDD
        "Wishbone",             // 0xDE
        "Four-Leaf Clover",     // 0xDF
        "Salt",                 // 0xE0
        "Pepper",               // 0xE1
        "Mustard",              // 0xE2
        "Honey Jar",            // 0xE3
        "Sugar Cube",           // 0xE4
        "Vinegar",              // 0xE5
        "Butter",               // 0xE6
        "Cream",                // 0xE7
        "Syrup",                // 0xE8
        "Chili Flakes",         // 0xE9
        "Relish",               // 0xEA
        "Chutney",              // 0xEB
        "Cinnamon",             // 0xEC
        "Nutmeg",               // 0xED
        "Parsnip",              // 0xEE
        "Turnip",               // 0xEF
        "Onion",                // 0xF0
        "Carrot",               // 0xF1
        "Cabbage",              // 0xF2
        "Beetroot",             // 0xF3
        "Radish",               // 0xF4
        "Leek",                 // 0xF5
        "Mushroom Pie",         // 0xF6
        "Mystery Parcel",       // 0xF7
        "Empty Bottle",         // 0xF8
        "Old Newspaper",        // 0xF9
        "Button",               // 0xFA
        "Pebble",               // 0xFB
        "Bent Nail",            // 0xFC
        "Lint",                 // 0xFD
        "<blank>",              // 0xFE
        "<blank>",              // 0xFF
    };
    return kNames;
}

}  // namespace sw
