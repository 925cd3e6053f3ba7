// Placeholder until the jobs layer lands.
