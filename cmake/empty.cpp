// Placeholder translation unit for a library folder that has no code yet.
