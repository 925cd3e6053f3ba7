#pragma once
// Placeholder until the generated table lands.
