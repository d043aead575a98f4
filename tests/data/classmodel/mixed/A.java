class A {
    B partner;
}
