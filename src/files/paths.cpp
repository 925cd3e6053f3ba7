// Placeholder until the files layer lands.
