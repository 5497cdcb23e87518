// Linked with one whole layer of the platform and the layers below it: it builds only when
// the layer calls nothing above itself.
int main() {
    return 0;
}
