// Materials of the sample tree, a LOD object of three meshes (data\meshes\trees\
// spruce_1.mesh to _3.mesh): the cone and its trunk near by, two crossed quads
// farther away, one quad turned to the camera far away.

textures/trees/needles
{
	cull none
	{
		map textures/trees/needles
		rgbgen vertex
	}
}

textures/trees/bark
{
	cull none
	{
		map textures/trees/bark
		rgbgen vertex
	}
}

textures/trees/spruce_cross
{
	cull none
	{
		map textures/trees/spruce
		alphafunc ge128
		depthwrite
	}
}

// Every vertex of the quad holds its centre; the deform spreads the corners 220 wide
// and 400 high, upright.
textures/trees/spruce_far
{
	cull none
	deformvertexes autosprite2 220 400
	{
		map textures/trees/spruce
		alphafunc ge128
		depthwrite
	}
}
