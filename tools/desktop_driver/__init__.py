"""Drives the built editor in a private X server from outside, as a person
would: windows and controls through the accessibility tree (AT-SPI), the
pointer and the keys through xdotool. Used by the end-to-end tests, the
screenshot script and the release scripts; the Wine smoke test, whose
program has no AT-SPI, uses the screen (screen.py) and the waits alone."""
