// Process entry of the installer.
int main() { return 0; }
