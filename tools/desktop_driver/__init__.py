"""Drives the built editor in a private X server from outside, as a person
would: windows and controls through the accessibility tree (AT-SPI), the
pointer and the keys through xdotool. Used by the end-to-end tests and by
the screenshot script."""
