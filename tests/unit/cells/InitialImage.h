#pragma once

class cmcEeprom;

// Reads the product's initial clone file into an image as the program reads its template;
// returns the clone file's result code (0 on success). Kept in its own file: the clone file's
// range list and the cell capsule's range flags share the name cmcRange.
int ReadInitialImage(cmcEeprom& image);
