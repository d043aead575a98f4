int main() {
x = 0;
if (a > 1) {
    x = 1;
} else
    x = 2;
return x;
}
