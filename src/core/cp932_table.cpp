// Placeholder until the generated table lands.
