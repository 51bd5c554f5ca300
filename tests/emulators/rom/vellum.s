; A test cartridge of our own: it fills work RAM with a pattern, writes a recognisable game
; into the game's fields, then counts loops forever, so that a save state taken at any frame
; differs from another only in the loop counter.
.p816
.smart -

COUNTER = $0010             ; WRAM $7E0010-$7E0013, 32-bit, outside every field
READY = $0014               ; WRAM $7E0014-$7E0015: $A55A once every field is written
SCRATCH = $0000

; The game keeps every character c as c + $30, and 0 behind the end.
.macro text str, width
    .repeat .strlen(str), i
        .byte .strat(str, i) + $30
    .endrepeat
    .res width - .strlen(str), 0
.endmacro

; name, level, experience, maximum HP and PP, HP, PP, a seed for the attributes and goods.
.macro member nm, lv, xp, hpm, ppm, hp, pp, seed
    text nm, 5
    .byte lv
    .faraddr xp
    .byte 0                 ; experience's fourth byte is always 0
    .word hpm, ppm
    .res 7, $E1             ; +14..+20: kept as they are
    .repeat 7, i            ; +21..+27: attributes
        .byte (seed + i * 13) .mod 99 + 1
    .endrepeat
    .res 7, $E2             ; +28..+34
    .repeat 14, i           ; +35..+48: goods, the last slots empty
        .if i < 10
            .byte (seed * 7 + i * 11) .mod 250 + 1
        .else
            .byte 0
        .endif
    .endrepeat
    .res 22, $E3            ; +49..+70
    .word hp
    .res 4, $E4             ; +73..+76
    .word pp
    .res 16, $E5            ; +79..+94
.endmacro

; Copies LEN bytes from ROM (bank 0) to WRAM bank $7E.
.macro copy src, dest, len
    ldx #.loword(src)
    ldy #dest
    lda #len - 1
    mvn #$00, #$7E
.endmacro

.segment "CODE"
reset:
    sei
    clc
    xce                     ; native mode
    rep #$38                ; 16-bit A, X and Y; binary arithmetic
    .a16
    .i16
    ldx #$1FFF
    txs
    lda #$0000
    tcd
    sep #$20
    .a8
    stz $4200               ; no NMI, no IRQ: nothing but the loop below ever runs
    lda #$80
    sta $2100               ; forced blank

    ; Every byte from $0100 on: low + high byte of its address, so that a shift by any
    ; distance shows.
    ldx #$0100
fill:
    rep #$20
    txa
    xba
    sep #$20
    sta SCRATCH
    xba
    clc
    adc SCRATCH
    eor #$A5
    sta $7E0000, x
    eor #$FF
    sta $7F0000, x
    inx
    bne fill

    ; Battery RAM (HiROM: $30:6000) gets a pattern of its own, where the cartridge has any.
    ldx #$0000
sram:
    txa
    eor #$3C
    sta $306000, x
    inx
    cpx #$0100
    bne sram

    rep #$20
    .a16
    copy texts, $9801, 46
    copy money, $9831, 8
    copy members, $99CE, 4 * 95
    copy flags, $9C08, 128
    phk
    plb                     ; mvn left the data bank at $7E
    lda #$A55A
    sta READY

    stz COUNTER
    stz COUNTER + 2
forever:
    inc COUNTER
    bne forever
    inc COUNTER + 2
    bra forever

ignore:
    rti

.segment "RODATA"
texts:
    text "Tamsin Vellor", 24
    text "Brisk", 6
    text "Plum", 6
    text "Emberline", 10
money:
    .faraddr 123456
    .byte 0                 ; cash's fourth byte is always 0
    .faraddr 9876543
    .byte $5E               ; behind the bank balance: not the game's
members:
    member "Tams",  12,   4321,  120,  40,   97,  33, 5
    member "Orin",   7,    880,   64,   0,   64,   0, 17
    member "Wren",  23,  51234,  310, 150,  288, 149, 29
    member "Pell",  99, 999999,  999, 999,    1, 998, 41
flags:
    .repeat 128, i
        .byte (i * 37 + 11) & $FF
    .endrepeat

.segment "HEADER"
    .byte "VELLUM GATE          "   ; 21 bytes
    .byte $21               ; HiROM, slow ROM
    .byte $02               ; ROM and battery RAM (finish.py writes the other variants)
    .byte $09               ; 512 KiB
    .byte $03               ; 8 KiB battery RAM
    .byte $01               ; North America
    .byte $00               ; developer
    .byte $00               ; version
    .word $FFFF, $0000      ; checksum complement and checksum, set by finish.py

.segment "VECTORS"
    ; native: -, -, COP, BRK, ABORT, NMI, -, IRQ; emulation: -, -, COP, -, ABORT, NMI, RESET, IRQ
    .word 0, 0, ignore, ignore, ignore, ignore, 0, ignore
    .word 0, 0, ignore, 0, ignore, ignore, reset, ignore
